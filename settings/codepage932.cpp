#include "settings/codepage932.h"

#include <algorithm>
#include <cstdint>

#include "settings/cp932_table.h"

namespace zz {

namespace {

// Bytes of the character that starts at pos, by the rule the decoder follows.
std::size_t CharLength(std::string_view bytes, std::size_t pos) {
    const bool lead = cp932::LeadRow(static_cast<unsigned char>(bytes[pos])) >= 0;
    return lead && pos + 1 < bytes.size() && bytes[pos + 1] != '\0' ? 2 : 1;
}

char32_t DecodeAt(std::string_view bytes, std::size_t pos, std::size_t length) {
    const auto first = static_cast<unsigned char>(bytes[pos]);
    const int row = cp932::LeadRow(first);
    if (row < 0) {
        return cp932::kSingleByte[first];
    }
    if (length == 1) {
        return kCp932DecodeDefault;
    }
    const auto trail = static_cast<unsigned char>(bytes[pos + 1]);
    if (trail < cp932::kTrailFirst || trail > cp932::kTrailLast) {
        return kCp932DecodeDefault;
    }
    const char16_t unit = cp932::kDoubleByte[row][trail - cp932::kTrailFirst];
    return unit != 0 ? unit : kCp932DecodeDefault;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

constexpr char32_t kInvalid = 0xFFFFFFFF;

// One code point of well-formed UTF-8 at pos; kInvalid with length 1 for a broken sequence.
char32_t NextCodePoint(std::string_view text, std::size_t pos, std::size_t& length) {
    const auto first = static_cast<unsigned char>(text[pos]);
    length = 1;
    if (first < 0x80) {
        return first;
    }
    int extra = 0;
    if (first >= 0xC2 && first <= 0xDF) {
        extra = 1;
    } else if (first >= 0xE0 && first <= 0xEF) {
        extra = 2;
    } else if (first >= 0xF0 && first <= 0xF4) {
        extra = 3;
    } else {
        return kInvalid;
    }
    if (pos + extra >= text.size()) {
        return kInvalid;
    }
    constexpr char32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
    char32_t cp = first & (0x7F >> (extra + 1));
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            return kInvalid;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < kShortest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return kInvalid;
    }
    length = static_cast<std::size_t>(extra) + 1;
    return cp;
}

// Code page 932 code of a character above U+007F, or 0 when the code page lacks it.
std::uint16_t EncodeChar(char32_t cp) {
    if (cp > 0xFFFF) {
        return 0;
    }
    const cp932::EncodeEntry* end = cp932::kEncode + cp932::kEncodeCount;
    const cp932::EncodeEntry* it =
        std::lower_bound(cp932::kEncode, end, cp,
                         [](const cp932::EncodeEntry& e, char32_t c) { return e.unicode < c; });
    return it != end && it->unicode == cp ? it->code : 0;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = CharLength(bytes, pos);
        AppendUtf8(out, DecodeAt(bytes, pos, length));
        pos += length;
    }
    return out;
}

std::string Utf8ToCp932(std::string_view utf8, bool* lossless) {
    std::string out;
    out.reserve(utf8.size());
    bool exact = true;
    for (std::size_t pos = 0; pos < utf8.size();) {
        std::size_t length = 1;
        const char32_t cp = NextCodePoint(utf8, pos, length);
        pos += length;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
            continue;
        }
        const std::uint16_t code = cp == kInvalid ? 0 : EncodeChar(cp);
        if (code == 0) {
            out += kCp932EncodeDefault;
            exact = false;
        } else if (code > 0xFF) {
            out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
        } else {
            out += static_cast<char>(code);
        }
    }
    if (lossless != nullptr) {
        *lossless = exact;
    }
    return out;
}

std::string_view Cp932Prefix(std::string_view bytes, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < bytes.size()) {
        const std::size_t next = end + CharLength(bytes, end);
        if (next > maxBytes) {
            break;
        }
        end = next;
    }
    return bytes.substr(0, end);
}

}  // namespace zz
