#include "framework/dialog.h"

#include "framework/module.h"
#include "framework/win_app.h"
#include "framework/window.h"

namespace zz {

CDialog::CDialog(UINT templateId) : m_nTemplateId(templateId) {}

CDialog::~CDialog() {
    if (m_hWnd != nullptr) {
        SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
        DestroyWindow(m_hWnd);
    }
}

bool CDialog::Create(HWND owner) {
    m_bEnded = false;
    m_nResult = -1;
    // The object is attached at WM_INITDIALOG, inside this call.
    if (CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(m_nTemplateId), owner,
                           StaticDialogProc, reinterpret_cast<LPARAM>(this)) == nullptr) {
        return false;
    }
    ShowWindow(m_hWnd, SW_SHOW);
    return true;
}

INT_PTR CDialog::DoModal(HWND parent) {
    HWND owner = parent != nullptr ? GetAncestor(parent, GA_ROOT) : nullptr;
    CWinApp* app = GetApp();
    if (owner == nullptr && app != nullptr && app->m_pMainWnd != nullptr) {
        owner = app->m_pMainWnd->GetHwnd();
    }
    if (!Create(owner)) {
        return -1;
    }
    const bool disableOwner = owner != nullptr && IsWindowEnabled(owner);
    if (disableOwner) {
        EnableWindow(owner, FALSE);
    }
    MSG msg{};
    bool quit = false;
    while (!m_bEnded && m_hWnd != nullptr) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            quit = got == 0;
            break;
        }
        Route(msg);
    }
    // The owner comes back first, so that it, not another program, becomes active.
    if (disableOwner) {
        EnableWindow(owner, TRUE);
    }
    if (m_hWnd != nullptr) {
        DestroyWindow(m_hWnd);
    }
    if (quit) {
        // The outer loop must see the quit request too.
        PostQuitMessage(static_cast<int>(msg.wParam));
    }
    return m_bEnded ? m_nResult : -1;
}

void CDialog::PumpMessages() {
    MSG msg{};
    while (m_hWnd != nullptr && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        Route(msg);
    }
}

void CDialog::Route(MSG& msg) {
    if (PreTranslateMessage(msg)) {
        return;
    }
    if (m_hWnd != nullptr && IsDialogMessageW(m_hWnd, &msg)) {
        return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

bool CDialog::OnCommand(UINT, UINT, HWND) {
    return false;
}

bool CDialog::PreTranslateMessage(MSG&) {
    return false;
}

void CDialog::EndDialog(INT_PTR result) {
    m_nResult = result;
    m_bEnded = true;
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    CDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        self->m_hWnd = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (self == nullptr) {
        return FALSE;
    }
    const INT_PTR result = self->DialogProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}

INT_PTR CDialog::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            CenterOverOwner();
            return OnInitDialog();
        case WM_COMMAND: {
            const UINT id = LOWORD(wParam);
            const UINT code = HIWORD(wParam);
            if (id == IDOK) {
                OnOK();
                return TRUE;
            }
            if (id == IDCANCEL) {
                OnCancel();
                return TRUE;
            }
            return OnCommand(id, code, reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
        }
        default:
            return FALSE;
    }
}

void CDialog::CenterOverOwner() {
    RECT area{};
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
        GetWindowRect(owner, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT dialog{};
    GetWindowRect(m_hWnd, &dialog);
    const int width = dialog.right - dialog.left;
    const int height = dialog.bottom - dialog.top;
    const int x = area.left + (area.right - area.left - width) / 2;
    const int y = area.top + (area.bottom - area.top - height) / 2;
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace zz
