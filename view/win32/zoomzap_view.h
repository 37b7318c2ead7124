#pragma once
// The play surface: the white client area of the main frame.

#include <windows.h>

#include <string>

#include "framework/view.h"

namespace zz {

class CZoomzapView : public CView {
public:
    // Registers itself as the application's play view.
    CZoomzapView();

    // Start-up of the play surface, before the frame is shown.
    void OnInitialUpdate() override;
    void Paint(HDC dc, const RECT& client) override;

    void LoadSettings();
    // Switches the guard mode; the guard arrives with the keyboard guard.
    void ToggleFullScreen();

private:
    std::string m_strTitle;
};

}  // namespace zz
