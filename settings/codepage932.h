#pragma once
// Conversion between UTF-8 and code page 932 (Shift-JIS as Windows defines it), the same on
// every platform whatever the system's code page is.

#include <cstddef>
#include <string>
#include <string_view>

namespace zz {

// What Windows decodes a byte sequence without a character to.
inline constexpr char32_t kCp932DecodeDefault = U'\u30FB';
// What a character code page 932 cannot hold is written as.
inline constexpr char kCp932EncodeDefault = '?';

// Decodes as MultiByteToWideChar(932) does: a lead byte takes the next byte with it unless
// that is NUL or missing; a pair or lead byte without a character gives U+30FB.
std::string Cp932ToUtf8(std::string_view bytes);

// Encodes every character to its code page 932 code, preferring the code Windows writes for
// characters with several. A character the code page lacks becomes '?' (two for one beyond
// the basic plane, as the platform writes it), each byte of broken UTF-8 one '?', and
// *lossless turns false. No best-fit look-alikes: U+00A5 must never turn
// into a backslash inside a path.
std::string Utf8ToCp932(std::string_view utf8, bool* lossless = nullptr);

// The longest start of a code page 932 string that holds at most maxBytes bytes and does not
// end inside a double-byte character.
std::string_view Cp932Prefix(std::string_view bytes, std::size_t maxBytes);

}  // namespace zz
