#include "dialogs/win32/subclassed_control.h"

#include <commctrl.h>

namespace zz {

namespace {

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

bool CSubclassedControl::Attach(HWND control) {
    Detach();
    if (control == nullptr || !SetWindowSubclass(control, &SubclassProc, kSubclassId,
                                                 reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    m_hWnd = control;
    return true;
}

void CSubclassedControl::Detach() {
    if (m_hWnd != nullptr) {
        RemoveWindowSubclass(m_hWnd, &SubclassProc, kSubclassId);
        m_hWnd = nullptr;
    }
}

LRESULT CSubclassedControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT CSubclassedControl::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CSubclassedControl::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* control = reinterpret_cast<CSubclassedControl*>(self);
    if (message == WM_NCDESTROY) {
        // The control goes: it ends with its own procedure, and the object lets go of it.
        control->Detach();
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return control->WindowProc(message, wParam, lParam);
}

}  // namespace zz
