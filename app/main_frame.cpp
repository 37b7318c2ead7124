#include "app/main_frame.h"

#include <imm.h>

#include "app/zoomzap_app.h"
#include "dialogs/win32/settings_dlg.h"
#include "resources/resource.h"
#include "view/win32/zoomzap_view.h"

namespace zz {

CMainFrame::CMainFrame() {
    // The call fails only where no input method exists, which is just as good.
    ImmDisableIME(static_cast<DWORD>(-1));
}

bool CMainFrame::Create() {
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return LoadFrame(IDR_MAINFRAME, WS_POPUP | WS_CAPTION | WS_SYSMENU, screen);
}

bool CMainFrame::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F4) {
        m_bAltF4Dropped = true;
        return true;
    }
    // The system never saw the F4, so it would take the Alt for one pressed alone and put
    // the keyboard into the menu bar, where a child's keys make no more pictures.
    if (m_bAltF4Dropped && msg.message == WM_SYSKEYUP && msg.wParam == VK_MENU) {
        m_bAltF4Dropped = false;
        return true;
    }
    return CFrameWnd::PreTranslateMessage(msg);
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
        default: {
            CZoomzapApp* app = GetZoomzapApp();
            return app != nullptr && app->OnCommand(id);
        }
    }
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

void CMainFrame::OnSettings() {
    CZoomzapApp* app = GetZoomzapApp();
    if (app == nullptr || app->m_pPlayView == nullptr) {
        return;
    }
    CZoomzapView& view = *app->m_pPlayView;
    CSettingsDlg dialog;
    if (dialog.DoModal() != IDOK) {
        return;
    }
    // The dialog saved on OK; the view takes over every value, the group included.
    view.LoadSettings();
    if (!dialog.m_bMediaChanged) {
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
