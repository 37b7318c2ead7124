#include "dialogs/win32/subclassed_control.h"

namespace zz {

namespace {

constexpr wchar_t kObjectProperty[] = L"zz.CSubclassedControl";

}  // namespace

bool CSubclassedControl::Attach(HWND control) {
    Detach();
    if (control == nullptr || GetPropW(control, kObjectProperty) != nullptr ||
        !SetPropW(control, kObjectProperty, this)) {
        return false;
    }
    m_hWnd = control;
    m_oldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWindowProc)));
    if (m_oldProc == nullptr) {
        RemovePropW(control, kObjectProperty);
        m_hWnd = nullptr;
        return false;
    }
    return true;
}

void CSubclassedControl::Detach() {
    if (m_hWnd == nullptr) {
        return;
    }
    SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldProc));
    RemovePropW(m_hWnd, kObjectProperty);
    m_hWnd = nullptr;
    m_oldProc = nullptr;
}

LRESULT CSubclassedControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT CSubclassedControl::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(m_oldProc, m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CSubclassedControl::StaticWindowProc(HWND window, UINT message, WPARAM wParam,
                                                      LPARAM lParam) {
    auto* self = static_cast<CSubclassedControl*>(GetPropW(window, kObjectProperty));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        // The control goes: it must end with its own procedure and without our property.
        const WNDPROC oldProc = self->m_oldProc;
        self->Detach();
        return CallWindowProcW(oldProc, window, message, wParam, lParam);
    }
    return self->WindowProc(message, wParam, lParam);
}

}  // namespace zz
