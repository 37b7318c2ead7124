#pragma once
// The application object: start-up and the message loop of the user-interface thread.

#include <windows.h>

namespace zz {

class CWindow;

class CWinApp {
public:
    // The one application object registers itself; GetApp() finds it.
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Start-up; false ends the program without running the loop.
    virtual bool InitInstance() = 0;

    // Commands that reach the application after the frame; true when handled.
    virtual bool OnCommand(UINT) { return false; }

    // InitInstance, then the message loop until WM_QUIT. Returns the exit code: the quit
    // message's, or m_nInitExitCode when start-up ended the program.
    int Run();

    // The window whose PreTranslateMessage sees every message of the loop first.
    CWindow* m_pMainWnd = nullptr;

protected:
    // Exit code when InitInstance returns false: a failure unless start-up says otherwise (a
    // command that is done without running the program).
    int m_nInitExitCode = 1;

private:
    int RunMessageLoop();
};

// The running application object, or null when none exists (tests of single windows).
CWinApp* GetApp();

}  // namespace zz
