#include "app/main_frame.h"

#include <imm.h>

#include <utility>

#include "dialogs/win32/group_pick_dlg.h"
#include "dialogs/win32/settings_dlg.h"
#include "framework/message_box.h"
#include "framework/unicode.h"
#include "resources/resource.h"

namespace zz {

CMainFrame::CMainFrame(std::string programFolder)
    : m_strProgramFolder(std::move(programFolder)), m_view(m_strProgramFolder) {
    // The call fails only where no input method exists, which is just as good.
    ImmDisableIME(static_cast<DWORD>(-1));
    m_view.SetOwner(this);
}

bool CMainFrame::Create() {
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!LoadFrame(IDR_MAINFRAME, WS_POPUP | WS_CAPTION | WS_SYSMENU, screen) ||
        !m_view.Create(GetHwnd())) {
        return false;
    }
    SetView(&m_view);
    return true;
}

void CMainFrame::OnInitialUpdate() {
    m_view.OnInitialUpdate();
    m_guardMode.GuardKeyboard();
    // A rerun while guarded, as after a new document, keeps the child inside.
    if (m_view.StartsInGuardMode() && !m_guardMode.IsOn()) {
        ToggleGuardMode();
    }
    // A fresh start shows nothing of the old picture anywhere, not only where a dialog was.
    InvalidateRect(m_view.GetHwnd(), nullptr, TRUE);
}

void CMainFrame::ToggleGuardMode() {
    if (m_guardMode.IsOn()) {
        m_guardMode.Leave();
        m_view.OnGuardModeLeft();
    } else {
        m_guardMode.Enter();
        m_view.OnGuardModeEntered();
    }
}

namespace {

constexpr UINT kPreviousStateFlag = 1u << 30;  // in a key message's lParam

bool IsKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
           message == WM_SYSKEYUP;
}

KeyMessage KeyMessageOf(const MSG& msg) {
    KeyMessage key;
    key.down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    key.system = msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSKEYUP;
    key.vk = static_cast<std::uint32_t>(msg.wParam);
    key.autoRepeat = key.down && (static_cast<UINT>(msg.lParam) & kPreviousStateFlag) != 0;
    return key;
}

}  // namespace

bool CMainFrame::PreTranslateMessage(MSG& msg) {
    if (!IsKeyMessage(msg.message)) {
        return CFrameWnd::PreTranslateMessage(msg);
    }
    const KeyMessage key = KeyMessageOf(msg);
    if (m_systemKeys.Drops(key)) {
        return true;
    }
    if (CFrameWnd::PreTranslateMessage(msg)) {
        m_systemKeys.Consumed(key);
        return true;
    }
    return false;
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The session ends without closing the window: closed here, guard mode gives the cursor,
    // the keys and the screen saver back before the process goes.
    if (message == WM_ENDSESSION) {
        if (wParam) {
            DestroyWindow(GetHwnd());
        }
        return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

bool CMainFrame::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
        case ID_SETTINGS:
            OnSettings();
            return true;
        case ID_VIEW_GUARD_MODE:
            ToggleGuardMode();
            return true;
        // Shortcut commands without a meaning here: swallowed, so they make no picture.
        case ID_EDIT_UNDO:
        case ID_EDIT_CUT:
        case ID_EDIT_COPY:
        case ID_EDIT_PASTE:
        case ID_NEXT_PANE:
        case ID_PREV_PANE:
            return true;
        // In guard mode a file or print dialog would hand the child the parent's files and a
        // way out of the toy, and a new document would start the play surface afresh under
        // the child's hands.
        case ID_FILE_NEW:
        case ID_FILE_OPEN:
        case ID_FILE_SAVE:
        case ID_FILE_PRINT:
            if (m_guardMode.IsOn()) {
                return true;
            }
            [[fallthrough]];
        default:
            return CFrameWnd::OnCommand(id, code, control);
    }
}

void CMainFrame::OnDestroy() {
    m_guardMode.GiveBack();
    CFrameWnd::OnDestroy();
}

void CMainFrame::OnUnreadablePictures(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) {
        list += (list.empty() ? "" : "\n") + name;
    }
    ShowMessage(GetHwnd(), IDP_UNREADABLE_PICTURES, Widen(list), MB_OK);
}

std::string CMainFrame::PickStartupGroup() {
    // Closed without a choice, the picker leaves an empty group: all groups.
    return RunGroupPickDialog(nullptr, {m_strProgramFolder}).value_or("");
}

void CMainFrame::OnSettings() {
    const std::optional<SettingsDialogResult> result =
        RunSettingsDialog(GetHwnd(), {m_strProgramFolder});
    if (!result) {
        return;
    }
    // The dialog saved on OK; the view takes over every value, the group included.
    m_view.LoadSettings();
    if (!result->mediaChanged) {
        return;
    }
    m_view.ChooseStartupGroup();
    m_view.LoadPictures();
}

}  // namespace zz
