#pragma once
// The sound assignment dialog: every picture with its sound, every sound, and "割り付け" to
// pair the selected ones. It writes nothing; the caller stores the result after OK.

#include <string>

#include "dialogs/sound_assign_model.h"
#include "framework/dialog.h"
#include "settings/file_system.h"

namespace zz {

class CSoundAssignDlg : public CDialog, private SoundAssignModel {
public:
    explicit CSoundAssignDlg(std::string programFolder = ProgramFolder(),
                             IFileSystem& fs = SystemFileSystem());

    // The caller sets the limit before the run and reads the two parallel lists after OK.
    using SoundAssignModel::m_assignments;
    using SoundAssignModel::m_nMaxCount;
    using SoundAssignModel::m_pictureNames;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    void OnAssign();

    std::string m_programFolder;
    IFileSystem& m_fs;
};

}  // namespace zz
