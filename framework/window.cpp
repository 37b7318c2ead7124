#include "framework/window.h"

#include <windowsx.h>

#include "framework/module.h"

namespace zz {

namespace {

bool RegisterOnce(const WindowClass& windowClass, WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(ModuleInstance(), windowClass.name, &existing)) {
        return true;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = windowClass.style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = ModuleInstance();
    wc.hIcon = windowClass.icon;
    wc.hCursor =
        windowClass.cursor != nullptr ? windowClass.cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = windowClass.background;
    wc.lpszClassName = windowClass.name;
    return RegisterClassExW(&wc) != 0;
}

POINT PointFrom(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

}  // namespace

CWindow::~CWindow() {
    if (m_hWnd != nullptr) {
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hWnd);
    }
}

bool CWindow::PreTranslateMessage(MSG&) {
    return false;
}

bool CWindow::CreateEx(const WindowClass& windowClass, DWORD exStyle, const wchar_t* title,
                       DWORD style, const RECT& rect, HWND parent, HMENU menuOrId) {
    if (!RegisterOnce(windowClass, StaticWindowProc)) {
        return false;
    }
    // The object is attached at WM_NCCREATE, inside this call.
    return CreateWindowExW(exStyle, windowClass.name, title, style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent, menuOrId,
                           ModuleInstance(), this) != nullptr;
}

LRESULT CALLBACK CWindow::StaticWindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    CWindow* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<CWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hWnd = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    // Messages before WM_NCCREATE, and after the object let go, get the default handling.
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    const LRESULT result = self->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}

LRESULT CWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(*reinterpret_cast<CREATESTRUCTW*>(lParam));
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_SIZE:
            OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_SETFOCUS:
            OnSetFocus(reinterpret_cast<HWND>(wParam));
            return 0;
        case WM_COMMAND:
            if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) {
                return 0;
            }
            break;
        case WM_KEYDOWN:
            OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(static_cast<UINT>(wParam), PointFrom(lParam));
            return 0;
        case WM_LBUTTONUP:
            OnLButtonUp(static_cast<UINT>(wParam), PointFrom(lParam));
            return 0;
        case WM_RBUTTONUP:
            OnRButtonUp(static_cast<UINT>(wParam), PointFrom(lParam));
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        default:
            break;
    }
    return DefWindowProcW(m_hWnd, message, wParam, lParam);
}

int CWindow::OnCreate(const CREATESTRUCTW&) {
    return 0;
}

void CWindow::OnPaint() {
    // Nothing to draw: validating keeps WM_PAINT from coming back.
    DefWindowProcW(m_hWnd, WM_PAINT, 0, 0);
}

void CWindow::OnSize(UINT, int, int) {}

void CWindow::OnSetFocus(HWND) {}

bool CWindow::OnCommand(UINT, UINT, HWND) {
    return false;
}

void CWindow::OnKeyDown(UINT, UINT, UINT) {}

void CWindow::OnTimer(UINT_PTR) {}

void CWindow::OnMouseMove(UINT, POINT) {}

void CWindow::OnLButtonUp(UINT, POINT) {}

void CWindow::OnRButtonUp(UINT, POINT) {}

void CWindow::OnDpiChanged(UINT, const RECT& suggested) {
    // A failed move keeps the old size: still usable, only scaled by the system.
    SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace zz
