#pragma once
// The program's only top-level window: screen-sized, captioned, with the menu and the
// shortcut table, no input method, and deaf to Alt+F4.

#include <string>
#include <vector>

#include "app/system_key_filter.h"
#include "framework/frame_window.h"
#include "view/win32/zoomzap_view.h"

namespace zz {

class CMainFrame : public CFrameWnd, public IPlayViewOwner {
public:
    // Disables the input method for every thread of the program, before any window exists,
    // so key presses reach the view as plain keys.
    CMainFrame();

    // A popup with caption and system menu at (0, 0), the size of the primary screen.
    bool Create();

    // Drops Alt+F4 in every mode, leaving no trace of it; the shortcut table is applied to
    // everything else.
    bool PreTranslateMessage(MSG& msg) override;

    // A message box names them, and play goes on without them.
    void OnUnreadablePictures(const std::vector<std::string>& names) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnDestroy() override;

private:
    SystemKeyFilter m_systemKeys;

    bool InGuardMode() const;
    void OnSettings();
    void OnFullScreen();
};

}  // namespace zz
