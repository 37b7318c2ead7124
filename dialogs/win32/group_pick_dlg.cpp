#include "dialogs/win32/group_pick_dlg.h"

#include <array>

#include "dialogs/group_choice.h"
#include "framework/dialog.h"
#include "framework/unicode.h"
#include "resources/dialog_ids.h"
#include "settings/media_library.h"

namespace zz {

namespace {

constexpr std::array<int, kPickButtonCount> kButtonIds = {
    IDC_PICK_BUTTON0, IDC_PICK_BUTTON1, IDC_PICK_BUTTON2, IDC_PICK_BUTTON3, IDC_PICK_BUTTON4,
    IDC_PICK_BUTTON5, IDC_PICK_BUTTON6, IDC_PICK_BUTTON7, IDC_PICK_BUTTON8, IDC_PICK_BUTTON9};

class CGroupPickDlg : public CDialog {
public:
    explicit CGroupPickDlg(const GroupPickRequest& request)
        : CDialog(IDD_GROUP_PICK), m_model(ListGroups(SystemFileSystem(), request.programFolder)) {}

    std::optional<std::string> m_picked;

protected:
    BOOL OnInitDialog() override {
        for (int button = 0; button < kPickButtonCount; ++button) {
            HWND control = GetItem(kButtonIds[button]);
            SetWindowTextW(control, Widen(EscapeMnemonics(m_model.Caption(button))).c_str());
            EnableWindow(control, m_model.IsEnabled(button) ? TRUE : FALSE);
        }
        return TRUE;
    }

    bool OnCommand(UINT id, UINT code, HWND) override {
        for (int button = 0; button < kPickButtonCount; ++button) {
            if (kButtonIds[button] == static_cast<int>(id) && code == BN_CLICKED) {
                Choose(button);
                return true;
            }
        }
        return false;
    }

    bool PreTranslateMessage(MSG& msg) override {
        // Digits win over the dialog's own keys, whichever button has the focus.
        const bool ours = msg.hwnd == GetHwnd() || IsChild(GetHwnd(), msg.hwnd);
        return ours && msg.message == WM_KEYDOWN && OnDigitKey(msg.wParam);
    }

    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KEYDOWN && OnDigitKey(wParam)) {
            return TRUE;
        }
        return CDialog::DialogProc(message, wParam, lParam);
    }

private:
    // True when key was a digit, whether or not its button could be chosen.
    bool OnDigitKey(WPARAM key) {
        const int button = PickButtonForKey(static_cast<unsigned>(key));
        if (button < 0) {
            return false;
        }
        Choose(button);
        return true;
    }

    void Choose(int button) {
        if (const std::optional<std::string> group = m_model.Pick(button)) {
            m_picked = group;
            EndDialog(IDOK);
        }
    }

    GroupPickModel m_model;
};

}  // namespace

std::optional<std::string> RunGroupPickDialog(HWND owner, const GroupPickRequest& request) {
    CGroupPickDlg dialog(request);
    dialog.DoModal(owner);
    return dialog.m_picked;
}

}  // namespace zz
