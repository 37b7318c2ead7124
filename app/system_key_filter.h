#pragma once
// The key messages the main frame keeps from its windows: Alt+F4, which would close the toy,
// and the release of an Alt whose system key the windows never saw. The system takes an Alt
// release for Alt pressed alone when no other system key reached the default handling while it
// was down, and puts the keyboard into the menu bar, where a child's letters run commands.
// Pure, so that every order of the four events of Alt+F4 can be tested anywhere.

#include <cstdint>

namespace zz {

// A key message as the message loop reads it.
struct KeyMessage {
    bool down = false;    // a key-down message; otherwise a key-up one
    bool system = false;  // WM_SYSKEYDOWN or WM_SYSKEYUP
    std::uint32_t vk = 0;
    bool autoRepeat = false;  // the key was already down
};

class SystemKeyFilter {
public:
    // True when the message must not reach the window.
    bool Drops(const KeyMessage& key);
    // The shortcut table turned the message into a command, so the windows never saw it.
    void Consumed(const KeyMessage& key);

private:
    // A system key of the Alt press now held never reached the windows.
    bool m_bAltUsedUnseen = false;
};

}  // namespace zz
