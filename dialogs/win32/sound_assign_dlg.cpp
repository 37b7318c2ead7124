#include "dialogs/win32/sound_assign_dlg.h"

#include <utility>

#include "dialogs/win32/list_box.h"
#include "dialogs/win32/parent_message.h"
#include "resources/dialog_ids.h"
#include "settings/app_settings.h"

namespace zz {

CSoundAssignDlg::CSoundAssignDlg(std::string programFolder, IFileSystem& fs)
    : CDialog(IDD_SOUND_ASSIGN), m_programFolder(std::move(programFolder)), m_fs(fs) {}

BOOL CSoundAssignDlg::OnInitDialog() {
    CAppSettings settings(m_programFolder, m_fs);
    settings.Load();
    Build(m_fs, m_programFolder, settings);
    HWND pictures = GetItem(IDC_PICTURE_LIST);
    HWND sounds = GetItem(IDC_SOUND_LIST);
    for (const std::string& row : SoundRows()) {
        AddListRow(sounds, row);
    }
    for (size_t i = 0; i < m_pictureNames.size(); ++i) {
        AddListRow(pictures, PictureRow(i));
    }
    SelectListRow(pictures, 0);
    SelectListRow(sounds, 0);
    return TRUE;
}

bool CSoundAssignDlg::OnCommand(UINT id, UINT code, HWND) {
    if (id == IDC_ASSIGN && code == BN_CLICKED) {
        OnAssign();
        return true;
    }
    return false;
}

void CSoundAssignDlg::OnAssign() {
    HWND pictures = GetItem(IDC_PICTURE_LIST);
    const int picture = ListSelection(pictures);
    AssignOutcome outcome = Assign(picture, ListSelection(GetItem(IDC_SOUND_LIST)));
    if (outcome.assigned) {
        outcome.alsoChanged.push_back(static_cast<size_t>(picture));
        for (const size_t row : outcome.alsoChanged) {
            const int index = static_cast<int>(row);
            DeleteListRow(pictures, index);
            InsertListRow(pictures, index, PictureRow(row));
        }
        SelectListRow(pictures, picture);
    }
    if (!outcome.message.empty()) {
        ShowParentMessage(GetHwnd(), outcome.message,
                          outcome.assigned ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
    } else if (!outcome.assigned) {
        MessageBeep(MB_OK);  // nothing to pair; a beep is all, and its failure does not matter
    }
}

}  // namespace zz
