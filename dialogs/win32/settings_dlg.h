#pragma once
// The settings dialog: works on its own copy of the settings, opens the media folders and
// the order, group and sound assignment dialogs, and saves everything on OK.

#include <string>

#include "dialogs/settings_model.h"
#include "framework/dialog.h"
#include "settings/file_system.h"

namespace zz {

class CSettingsDlg : public CDialog, private SettingsModel {
public:
    explicit CSettingsDlg(std::string programFolder = ProgramFolder(),
                          IFileSystem& fs = SystemFileSystem());

    // Read by the caller after OK: whether the pictures must be reloaded, and the group.
    using SettingsModel::m_bMediaChanged;
    using SettingsModel::m_orderList;
    using SettingsModel::m_strGroup;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

    // The parent is told in a message box with the application's title.
    virtual void ShowMessage(const std::string& text, UINT icon);
    // Opens folder in the desktop's file browser without waiting for it.
    virtual void OpenFolder(const std::string& folder);

private:
    void ShowMembers();
    void ReadMembers();
    void ShowButtonStates();

    void OnImagesFolder();
    void OnSoundsFolder();
    void OnOrder();
    void OnGroupSelect();
    void OnDisplayRandom();
    void OnDisplayInOrder();
    void OnAssignSounds();
    void OnSoundSwitch(bool on);

    std::string m_programFolder;
    IFileSystem& m_fs;
};

}  // namespace zz
