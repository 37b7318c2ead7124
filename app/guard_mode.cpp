#include "app/guard_mode.h"

#include <utility>

#include "framework/window.h"

namespace zz {

CGuardMode::CGuardMode(const CWindow& frame, const CWindow& view, std::wstring hookLibrary)
    : m_frame(frame), m_view(view), m_keyboard(std::move(hookLibrary)) {}

void CGuardMode::Enter() {
    if (m_bOn) {
        return;
    }
    HWND frame = m_frame.GetHwnd();
    m_menu.Reset(GetMenu(frame));
    SetMenu(frame, nullptr);

    RECT client{};
    GetClientRect(m_view.GetHwnd(), &client);
    m_nSavedHeight = client.bottom;
    // Still maximized, the frame keeps its maximized size under Wine, a strip of the desktop
    // short at the right and bottom.
    if (IsZoomed(frame)) {
        ShowWindow(frame, SW_RESTORE);
    }
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(frame, HWND_TOPMOST, 0, 0, screenWidth, m_nSavedHeight, SWP_SHOWWINDOW);
    SetWindowLongPtrW(frame, GWL_STYLE,
                      GetWindowLongPtrW(frame, GWL_STYLE) & ~(WS_CAPTION | WS_SYSMENU));
    // The frame must be recomputed without the caption, or a shown window keeps its old one.
    SetWindowPos(frame, HWND_TOPMOST, 0, 0, screenWidth, screenHeight,
                 SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    m_bOn = true;

    if (!m_bCursorHidden) {
        ShowCursor(FALSE);
        m_bCursorHidden = true;
    }
    // A second monitor must not offer the child a desktop to click.
    RECT frameRect{};
    GetWindowRect(frame, &frameRect);
    ClipCursor(&frameRect);
}

void CGuardMode::Leave() {
    if (!m_bOn) {
        return;
    }
    HWND frame = m_frame.GetHwnd();
    SetMenu(frame, m_menu.Release());

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(frame, HWND_NOTOPMOST, 0, screenHeight - m_nSavedHeight, screenWidth,
                 m_nSavedHeight, SWP_SHOWWINDOW);
    SetWindowLongPtrW(frame, GWL_STYLE,
                      GetWindowLongPtrW(frame, GWL_STYLE) | WS_CAPTION | WS_SYSMENU);
    SetWindowPos(frame, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    SetWindowPos(frame, HWND_NOTOPMOST, 0, 0, screenWidth, screenHeight, SWP_SHOWWINDOW);
    ShowWindow(frame, SW_SHOWNORMAL);
    ShowWindow(frame, SW_MAXIMIZE);
    m_bOn = false;

    ShowCursorAgain();
    ClipCursor(nullptr);
}

void CGuardMode::GiveBack() {
    HWND frame = m_frame.GetHwnd();
    if (m_menu && frame != nullptr) {
        SetMenu(frame, m_menu.Release());
    }
    m_bOn = false;
    m_keyboard.Release();
    ClipCursor(nullptr);
    ShowCursorAgain();
}

void CGuardMode::ShowCursorAgain() {
    if (m_bCursorHidden) {
        ShowCursor(TRUE);
        m_bCursorHidden = false;
    }
}

}  // namespace zz
