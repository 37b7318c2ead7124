#pragma once
// Turning what a parent types or picks in the settings dialog into stored values and back.

#include <span>
#include <string_view>

namespace zz {

// The leading decimal number of a typed text: blanks skipped, an optional sign, the digits up
// to the first other character. Text without digits gives 0; numbers beyond the int range
// are clamped to it.
int ParseTypedNumber(std::string_view text);

// Index of the entry that equals text, letter case aside; -1 when none does, and the combo
// box then shows text as it is, so that what is stored comes back unchanged.
int FindComboEntry(std::span<const std::string_view> entries, std::string_view text);

}  // namespace zz
