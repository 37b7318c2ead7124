#include "app/main_frame.h"

#include <imm.h>

#include "app/zoomzap_app.h"
#include "dialogs/win32/settings_dlg.h"
#include "framework/module.h"
#include "framework/unicode.h"
#include "resources/resource.h"

namespace zz {

CMainFrame::CMainFrame() {
    // The call fails only where no input method exists, which is just as good.
    ImmDisableIME(static_cast<DWORD>(-1));
}

bool CMainFrame::Create() {
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return LoadFrame(IDR_MAINFRAME, WS_POPUP | WS_CAPTION | WS_SYSMENU, screen);
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
    // The session ends without closing the window: closed here, the view gives the cursor,
    // the keys and the screen saver back before the process goes.
    if (message == WM_ENDSESSION) {
        if (wParam) {
            DestroyWindow(GetHwnd());
        }
        return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

bool CMainFrame::OnCommand(UINT id, UINT, HWND) {
    switch (id) {
        case ID_SETTINGS:
            OnSettings();
            return true;
        case ID_VIEW_FULLSCREEN:
            OnFullScreen();
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
            if (InGuardMode()) {
                return true;
            }
            [[fallthrough]];
        default: {
            CZoomzapApp* app = GetZoomzapApp();
            return app != nullptr && app->OnCommand(id);
        }
    }
}

bool CMainFrame::InGuardMode() const {
    const CZoomzapApp* app = GetZoomzapApp();
    return app != nullptr && app->m_pPlayView != nullptr &&
           app->m_pPlayView->Surface().InGuardMode();
}

void CMainFrame::OnDestroy() {
    // The guard mode destroys the menu and installs fresh copies, so the recorded default may
    // be gone; the current menu is the one to keep.
    HMENU current = GetMenu(GetHwnd());
    if (m_hMenuDefault != nullptr && m_hMenuDefault != current) {
        m_hMenuDefault = current;
    }
    CFrameWnd::OnDestroy();
}

void CMainFrame::OnUnreadablePictures(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) {
        list += (list.empty() ? "" : "\n") + name;
    }
    std::wstring text = LoadResourceString(IDP_UNREADABLE_PICTURES);
    if (const size_t at = text.find(L"%s"); at != std::wstring::npos) {
        text.replace(at, 2, Widen(list));
    }
    // The system's caption, as for any error the program does not name.
    MessageBoxW(GetHwnd(), text.c_str(), nullptr, MB_OK);
}

void CMainFrame::OnSettings() {
    CZoomzapApp* app = GetZoomzapApp();
    if (app == nullptr || app->m_pPlayView == nullptr) {
        return;
    }
    CZoomzapView& view = *app->m_pPlayView;
    const std::optional<SettingsDialogResult> result =
        RunSettingsDialog(GetHwnd(), {ProgramFolder()});
    if (!result) {
        return;
    }
    // The dialog saved on OK; the view takes over every value, the group included.
    view.LoadSettings();
    if (!result->mediaChanged) {
        return;
    }
    view.ChooseStartupGroup();
    view.LoadPictures();
}

void CMainFrame::OnFullScreen() {
    CZoomzapApp* app = GetZoomzapApp();
    if (app != nullptr && app->m_pPlayView != nullptr) {
        app->m_pPlayView->ToggleFullScreen();
    }
}

}  // namespace zz
