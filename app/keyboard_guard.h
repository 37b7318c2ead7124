#pragma once
// The keyboard guard of guard mode: keeps the system key combinations from the system for the
// whole run, through the hook library's low-level keyboard hook.

#include <windows.h>

#include <string>
#include <thread>

namespace zz {

class CKeyboardGuard {
public:
    // The library is found through the platform's library search, the program folder first.
    explicit CKeyboardGuard(std::wstring libraryName = L"Kidlock.dll");
    ~CKeyboardGuard() { Release(); }
    CKeyboardGuard(const CKeyboardGuard&) = delete;
    CKeyboardGuard& operator=(const CKeyboardGuard&) = delete;

    // Run at each start-up of the play surface. Only the first that finds the library installs
    // the hook; later ones add nothing, so reruns never stack hooks or library loads. A missing
    // library or export leaves the program unguarded, silently. Platforms before major
    // version 5 get the screen-saver flag instead.
    void SetUp();

    // Hooks of this guard in force: 0 or 1.
    int HookCount() const { return m_nHooks; }

    // Removes the hook, unloads the library and gives the screen-saver flag back, on every
    // platform version: for every way the program ends. SetUp may guard again afterwards.
    void Release();

private:
    void StartThread();

    std::wstring m_strLibrary;
    // Runs the hook and nothing else, so that a busy window can never make the system drop it.
    std::thread m_thread;
    DWORD m_dwThreadId = 0;
    int m_nHooks = 0;
};

}  // namespace zz
