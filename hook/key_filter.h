#pragma once
// Which key events the keyboard guard keeps from the system: the combinations with which a child
// could leave the program or open the system's menus. Pure, so every platform can test it.

#include <cstdint>

namespace zz {

// Virtual-key codes, as Windows numbers them.
inline constexpr std::uint32_t kVkTab = 0x09;
inline constexpr std::uint32_t kVkEscape = 0x1B;
inline constexpr std::uint32_t kVkSpace = 0x20;
inline constexpr std::uint32_t kVkLeftWindows = 0x5B;
inline constexpr std::uint32_t kVkRightWindows = 0x5C;

// True for the Windows keys (with anything), Ctrl+Esc, Alt+Tab, Alt+Esc and Alt+Space. Shift and
// whether the key goes down or up play no part, so both events of a combination are swallowed.
bool ShouldSwallowKey(std::uint32_t vkCode, bool altDown, bool ctrlDown);

}  // namespace zz
