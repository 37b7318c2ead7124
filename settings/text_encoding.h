#pragma once
// The encodings a settings file can come in, told by its byte-order mark, and UTF-8 as the
// text inside the program. A file without a mark is code page 932, as the platform's profile
// functions write it on a Japanese system.

#include <cstddef>
#include <string>
#include <string_view>

namespace zz {

enum class TextEncoding { kCp932, kUtf16Le, kUtf16Be, kUtf8 };

struct DetectedEncoding {
    TextEncoding encoding = TextEncoding::kCp932;
    std::size_t markLength = 0;
};

DetectedEncoding DetectEncoding(std::string_view bytes);
std::string_view ByteOrderMark(TextEncoding encoding);
// Bytes of one code unit: 2 for UTF-16, 1 otherwise.
std::size_t UnitSize(TextEncoding encoding);
// The code unit that starts at pos; pos + UnitSize must lie inside bytes.
char32_t UnitAt(std::string_view bytes, std::size_t pos, TextEncoding encoding);

// Well-formed UTF-8 whatever the bytes: what cannot be decoded becomes a replacement
// character (code page 932 has its own, see Cp932ToUtf8).
std::string DecodeText(std::string_view bytes, TextEncoding encoding);
// *lossless turns false when a character had to be replaced.
std::string EncodeText(std::string_view utf8, TextEncoding encoding, bool* lossless = nullptr);
// What a file of this encoding gives back for text written to it: the form in which the file
// holds a name, and in which a live name is matched against what was stored.
std::string EncodingForm(std::string_view utf8, TextEncoding encoding);

inline constexpr char32_t kInvalidCodePoint = 0xFFFFFFFF;
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// One code point of well-formed UTF-8 at pos and its length; kInvalidCodePoint with length 1
// for a broken, overlong or surrogate sequence.
char32_t NextCodePoint(std::string_view text, std::size_t pos, std::size_t& length);
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace zz
