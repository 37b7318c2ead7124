#include "framework/frame_window.h"

#include <string>

#include "framework/handles.h"
#include "framework/module.h"
#include "framework/win_app.h"

namespace zz {

bool CFrameWnd::LoadFrame(UINT id, DWORD style, const RECT& rect) {
    const std::wstring strings = LoadResourceString(id);
    const std::wstring title = strings.substr(0, strings.find(L'\n'));
    const WindowClass frameClass{L"ZoomzapFrame", CS_DBLCLKS,
                                 reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                                 LoadIconW(ModuleInstance(), MAKEINTRESOURCEW(id))};
    Menu menu(LoadMenuW(ModuleInstance(), MAKEINTRESOURCEW(id)));
    m_hAccelTable = LoadAcceleratorsW(ModuleInstance(), MAKEINTRESOURCEW(id));
    if (!CreateEx(frameClass, 0, title.c_str(), style, rect, nullptr, menu.Get())) {
        return false;
    }
    menu.Release();  // the window's from here on, destroyed with it
    return true;
}

void CFrameWnd::SetView(CWindow* view) {
    m_pView = view;
    FitView();
}

bool CFrameWnd::PreTranslateMessage(MSG& msg) {
    if (m_hAccelTable == nullptr || GetHwnd() == nullptr) {
        return false;
    }
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) {
        return false;
    }
    if (msg.hwnd != GetHwnd() && !IsChild(GetHwnd(), msg.hwnd)) {
        return false;
    }
    return TranslateAcceleratorW(GetHwnd(), m_hAccelTable, &msg) != 0;
}

void CFrameWnd::OnSize(UINT, int, int) {
    FitView();
}

void CFrameWnd::OnSetFocus(HWND) {
    if (m_pView != nullptr && m_pView->GetHwnd() != nullptr) {
        SetFocus(m_pView->GetHwnd());
    }
}

bool CFrameWnd::OnCommand(UINT id, UINT, HWND) {
    CWinApp* app = GetApp();
    return app != nullptr && app->OnCommand(id);
}

void CFrameWnd::OnDestroy() {
    CWinApp* app = GetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        PostQuitMessage(0);
    }
}

void CFrameWnd::FitView() {
    if (m_pView == nullptr || m_pView->GetHwnd() == nullptr || GetHwnd() == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(GetHwnd(), &client);
    // Placement failures leave the old size, which the next WM_SIZE corrects.
    SetWindowPos(m_pView->GetHwnd(), nullptr, 0, 0, client.right, client.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace zz
