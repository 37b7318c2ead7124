#pragma once
// The program's only top-level window: screen-sized, captioned, with the menu and the
// shortcut table, no input method, and deaf to Alt+F4. It holds the play view and guard mode.

#include <string>
#include <vector>

#include "app/guard_mode.h"
#include "app/system_key_filter.h"
#include "framework/frame_window.h"
#include "settings/file_system.h"
#include "view/win32/zoomzap_view.h"

namespace zz {

class CMainFrame : public CFrameWnd, private IPlayViewOwner {
public:
    // Disables the input method for every thread of the program, before any window exists,
    // so key presses reach the view as plain keys. Settings and media come from programFolder.
    explicit CMainFrame(std::string programFolder = ProgramFolder());

    // A popup with caption and system menu at (0, 0), the size of the primary screen, with the
    // view in it.
    bool Create();

    // The view's start-up, then the keyboard guard and, when the settings ask for it, guard
    // mode. It runs again for every new document, and never leaves guard mode.
    void OnInitialUpdate();

    CZoomzapView& View() { return m_view; }
    const CGuardMode& GuardMode() const { return m_guardMode; }

    // Ctrl+Shift+Del and the menu command.
    void ToggleGuardMode() override;

    // Drops Alt+F4 in every mode, leaving no trace of it; the shortcut table is applied to
    // everything else.
    bool PreTranslateMessage(MSG& msg) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnDestroy() override;

private:
    // A message box names them, and play goes on without them.
    void OnUnreadablePictures(const std::vector<std::string>& names) override;
    std::string PickStartupGroup() override;
    void OnSettings();

    std::string m_strProgramFolder;
    CZoomzapView m_view;
    CGuardMode m_guardMode{*this, m_view};
    SystemKeyFilter m_systemKeys;
};

}  // namespace zz
