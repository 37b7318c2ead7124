#include "dialogs/win32/group_pick_dlg.h"

#include <utility>

#include "framework/unicode.h"
#include "resources/dialog_ids.h"
#include "settings/media_library.h"

namespace zz {

namespace {

constexpr std::array<int, kPickButtonCount> kButtonIds = {
    IDC_PICK_BUTTON0, IDC_PICK_BUTTON1, IDC_PICK_BUTTON2, IDC_PICK_BUTTON3, IDC_PICK_BUTTON4,
    IDC_PICK_BUTTON5, IDC_PICK_BUTTON6, IDC_PICK_BUTTON7, IDC_PICK_BUTTON8, IDC_PICK_BUTTON9};

}  // namespace

CGroupPickDlg::CGroupPickDlg(std::string programFolder, IFileSystem& fs)
    : CDialog(IDD_GROUP_PICK), m_programFolder(std::move(programFolder)), m_fs(fs) {}

BOOL CGroupPickDlg::OnInitDialog() {
    const GroupPickModel& model = m_model.emplace(ListGroups(m_fs, m_programFolder));
    for (int button = 0; button < kPickButtonCount; ++button) {
        HWND control = GetItem(kButtonIds[button]);
        m_pGroupButtons[button] = control;
        SetWindowTextW(control, Widen(EscapeMnemonics(model.Caption(button))).c_str());
        EnableWindow(control, model.IsEnabled(button) ? TRUE : FALSE);
    }
    return TRUE;
}

bool CGroupPickDlg::OnCommand(UINT id, UINT code, HWND) {
    for (int button = 0; button < kPickButtonCount; ++button) {
        if (kButtonIds[button] == static_cast<int>(id) && code == BN_CLICKED) {
            Choose(button);
            return true;
        }
    }
    return false;
}

bool CGroupPickDlg::PreTranslateMessage(MSG& msg) {
    // Digits win over the dialog's own keys, whichever button has the focus.
    const bool ours = msg.hwnd == GetHwnd() || IsChild(GetHwnd(), msg.hwnd);
    return ours && msg.message == WM_KEYDOWN && OnDigitKey(msg.wParam);
}

INT_PTR CGroupPickDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && OnDigitKey(wParam)) {
        return TRUE;
    }
    return CDialog::DialogProc(message, wParam, lParam);
}

bool CGroupPickDlg::OnDigitKey(WPARAM key) {
    const int button = PickButtonForKey(static_cast<unsigned>(key));
    if (button < 0) {
        return false;
    }
    Choose(button);
    return true;
}

void CGroupPickDlg::Choose(int button) {
    if (!m_model) {
        return;
    }
    if (const std::optional<std::string> group = m_model->Pick(button)) {
        m_strGroup = *group;
        EndDialog(IDOK);
    }
}

}  // namespace zz
