#pragma once
// A top-level window with a menu, a shortcut table and one view filling its client area.

#include "framework/window.h"

namespace zz {

class CFrameWnd : public CWindow {
public:
    // Creates the frame from the resources numbered id: menu, shortcut table, icon, and the
    // caption from the first line of the string. False when the window cannot be created.
    bool LoadFrame(UINT id, DWORD style, const RECT& rect);

    // The child that fills the client area and receives the keyboard focus.
    void SetView(CWindow* view);

    // Applies the shortcut table to the keys meant for the frame or its view.
    bool PreTranslateMessage(MSG& msg) override;

protected:
    void OnSize(UINT type, int cx, int cy) override;
    void OnSetFocus(HWND previous) override;
    // Commands the frame does not handle itself go to the application.
    bool OnCommand(UINT id, UINT code, HWND control) override;
    // Ends the message loop for the application's main window.
    void OnDestroy() override;

private:
    void FitView();

    HACCEL m_hAccelTable = nullptr;  // a resource of the module: never destroyed
    CWindow* m_pView = nullptr;
};

}  // namespace zz
