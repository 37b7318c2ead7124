#pragma once
// Base of the program's dialogs: a dialog template of the module, one dialog procedure for
// every dialog, and a modal loop of our own so that a dialog can see keys before the dialog
// manager does.

#include <windows.h>

namespace zz {

class CDialog {
public:
    explicit CDialog(UINT templateId);
    // A dialog still open is closed without its handlers.
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Shows the dialog and returns when it ends: IDOK, IDCANCEL or what EndDialog was given;
    // -1 when it could not be created or was destroyed without EndDialog. Without a parent the
    // application's main window owns it. The owner is disabled meanwhile.
    INT_PTR DoModal(HWND parent = nullptr);

    // Creates the dialog modeless and visible, for callers that drive it themselves.
    bool Create(HWND owner);
    // Handles the queued messages as the modal loop would, without waiting for more.
    void PumpMessages();

    HWND GetHwnd() const { return m_hWnd; }
    bool IsEnded() const { return m_bEnded; }
    INT_PTR GetResult() const { return m_nResult; }

protected:
    // Return TRUE to let the dialog manager focus the first control.
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Commands other than IDOK and IDCANCEL; true when handled.
    virtual bool OnCommand(UINT id, UINT code, HWND control);
    // Sees every message of the modal loop before the dialog manager; true when consumed.
    virtual bool PreTranslateMessage(MSG& msg);
    // Messages without an On... member: handle them here and call the base for the rest.
    virtual INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Ends the modal loop with result; the window goes when DoModal returns.
    void EndDialog(INT_PTR result);
    HWND GetItem(int id) const { return GetDlgItem(m_hWnd, id); }

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);
    void Route(MSG& msg);
    void CenterOverOwner();

    UINT m_nTemplateId;
    HWND m_hWnd = nullptr;
    bool m_bEnded = false;
    INT_PTR m_nResult = -1;
};

}  // namespace zz
