#include "dialogs/win32/sound_assign_dlg.h"

#include <utility>

#include "dialogs/win32/list_box.h"
#include "resources/dialog_ids.h"
#include "settings/app_settings.h"

namespace zz {

CSoundAssignDlg::CSoundAssignDlg(std::string programFolder, IFileSystem& fs)
    : CDialog(IDD_SOUND_ASSIGN), m_programFolder(std::move(programFolder)), m_fs(fs) {}

BOOL CSoundAssignDlg::OnInitDialog() {
    const CAppSettings settings(m_programFolder, m_fs);
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
    if (!Assign(picture, ListSelection(GetItem(IDC_SOUND_LIST)))) {
        MessageBeep(MB_OK);  // nothing to pair; a beep is all, and its failure does not matter
        return;
    }
    DeleteListRow(pictures, picture);
    InsertListRow(pictures, picture, PictureRow(static_cast<size_t>(picture)));
    SelectListRow(pictures, picture);
}

}  // namespace zz
