#pragma once
// The group selection dialog: all groups, the start-up choice, or one of the groups found.

#include <array>
#include <optional>
#include <string>

#include "dialogs/group_choice.h"
#include "framework/dialog.h"
#include "settings/file_system.h"

namespace zz {

class CGroupSelectDlg : public CDialog {
public:
    explicit CGroupSelectDlg(std::string programFolder = ProgramFolder(),
                             IFileSystem& fs = SystemFileSystem());

    // Set by the caller; after OK the chosen group value, after Cancel unchanged.
    std::string m_strGroup;
    // The settings file's, to tell groups apart that it would store under one name.
    TextEncoding m_encoding = TextEncoding::kCp932;
    int m_nGroupRadio = 0;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::string m_programFolder;
    IFileSystem& m_fs;
    std::optional<GroupSelectModel> m_model;
    std::array<HWND, kGroupRadioCount> m_pGroupRadios{};
};

}  // namespace zz
