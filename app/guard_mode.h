#pragma once
// Guard mode keeps a small child inside the toy: the frame covers the whole screen, topmost,
// without caption, system menu and menu bar, and the cursor is hidden and held on it. Its
// keyboard guard keeps the system's key combinations away for the whole run, in the normal
// window too. Whatever it changes goes back on every way out.

#include <windows.h>

#include <string>

#include "app/keyboard_guard.h"
#include "framework/handles.h"

namespace zz {

class CWindow;

class CGuardMode {
public:
    // Changes frame; view's client height when entering is the frame's height on the way back.
    CGuardMode(const CWindow& frame, const CWindow& view,
               std::wstring hookLibrary = L"Kidlock.dll");
    ~CGuardMode() { GiveBack(); }
    CGuardMode(const CGuardMode&) = delete;
    CGuardMode& operator=(const CGuardMode&) = delete;

    // Run at every start-up: the first hook stays the only one.
    void GuardKeyboard() { m_keyboard.SetUp(); }
    int HookCount() const { return m_keyboard.HookCount(); }

    bool IsOn() const { return m_bOn; }
    void Enter();
    // The frame maximized with its caption and menu, the cursor shown and free.
    void Leave();

    // Every end of the program passes here: the menu goes back on the frame, to be destroyed
    // with it, and the cursor, its clip, the keys and the screen saver go back to the system.
    void GiveBack();

private:
    void ShowCursorAgain();

    const CWindow& m_frame;
    const CWindow& m_view;
    CKeyboardGuard m_keyboard;
    // The frame's menu while guard mode has taken it away: kept, so the same one comes back.
    Menu m_menu;
    int m_nSavedHeight = 0;
    bool m_bOn = false;
    // The cursor display counter is changed at most one step, however often the mode switches.
    bool m_bCursorHidden = false;
};

}  // namespace zz
