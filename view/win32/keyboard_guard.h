#pragma once
// Keyboard guard of the play surface: keeps the system key combinations from the system for the
// whole run, through the hook library's low-level keyboard hook.

#include <windows.h>

#include <string>
#include <thread>

namespace zz {

class CKeyboardGuard {
public:
    // The library is found through the platform's library search, the program folder first.
    explicit CKeyboardGuard(std::wstring libraryName = L"Kidlock.dll");
    ~CKeyboardGuard();
    CKeyboardGuard(const CKeyboardGuard&) = delete;
    CKeyboardGuard& operator=(const CKeyboardGuard&) = delete;

    // Run at each start-up of the play surface: every call installs one more hook and the library
    // keeps the newest handle. A missing library or export leaves the program unguarded, silently.
    // Platforms before major version 5 get the screen-saver flag instead.
    void SetUp();

    // Whether any hook of this guard is in force.
    bool IsHookInstalled() const { return m_nHooks > 0; }

    // For the view's destroy handler, on every platform version.
    static void RestoreScreenSaverFlag();

private:
    void StartThread();

    std::wstring m_strLibrary;
    // Runs the hooks and nothing else, so that a busy window can never make the system drop them.
    std::thread m_thread;
    DWORD m_dwThreadId = 0;
    int m_nHooks = 0;
};

}  // namespace zz
