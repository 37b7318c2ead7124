#pragma once
// UTF-8 inside the program, UTF-16 at the Win32 boundary.

#include <string>
#include <string_view>

namespace zz {

// Invalid sequences become U+FFFD rather than failing: text is shown, never trusted.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace zz
