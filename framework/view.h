#pragma once
// A child window that fills its frame's client area and draws through one function.

#include "framework/window.h"

namespace zz {

class CView : public CWindow {
public:
    // Creates the view as a visible child of the frame window, with the frame's client size.
    bool Create(HWND frame);

    // Runs once the view is attached to its frame and document, before the frame is shown.
    virtual void OnInitialUpdate() {}

    // Draws the whole view into dc, which may be the window's or a memory DC.
    virtual void Paint(HDC dc, const RECT& client) = 0;

    HWND GetParentFrame() const { return GetParent(GetHwnd()); }

protected:
    void OnPaint() override;
};

}  // namespace zz
