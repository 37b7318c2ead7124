#include "settings/codepage932.h"

#include <algorithm>
#include <cstdint>

#include "settings/cp932_table.h"
#include "settings/text_encoding.h"

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
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = CharLength(bytes, pos);
        AppendUtf8(out, DecodeAt(bytes, pos, length));
        pos += length;
    }
    return out;
}

std::string Utf8ToCp932(std::string_view utf8, bool* lossless) {
    std::string out;
    bool exact = true;
    for (std::size_t pos = 0; pos < utf8.size();) {
        std::size_t length = 1;
        const char32_t cp = NextCodePoint(utf8, pos, length);
        pos += length;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
            continue;
        }
        const std::uint16_t code = cp == kInvalidCodePoint ? 0 : EncodeChar(cp);
        if (code == 0) {
            // One per UTF-16 unit, as the platform writes them: two for a character beyond
            // the basic plane.
            out.append(cp != kInvalidCodePoint && cp > 0xFFFF ? 2 : 1, kCp932EncodeDefault);
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
