#include "settings/text_encoding.h"

#include "settings/codepage932.h"

namespace zz {

namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Half a code unit at the end reads as if completed by a zero byte, as it is completed when
// a line is written after it; so that write changes no reading.
std::string DecodeUtf16(std::string_view bytes, TextEncoding encoding) {
    std::string completed;
    if (bytes.size() % 2 != 0) {
        completed.assign(bytes).push_back('\0');
        bytes = completed;
    }
    std::string out;
    for (std::size_t pos = 0; pos < bytes.size(); pos += 2) {
        const char32_t unit = UnitAt(bytes, pos, encoding);
        const char32_t next = pos + 4 <= bytes.size() ? UnitAt(bytes, pos + 2, encoding) : 0;
        if (IsHighSurrogate(unit) && IsLowSurrogate(next)) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
            pos += 2;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(out, kReplacementCharacter);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

void AppendUnit(std::string& out, char32_t unit, TextEncoding encoding) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    if (encoding == TextEncoding::kUtf16Le) {
        out += low;
        out += high;
    } else {
        out += high;
        out += low;
    }
}

// Each code point of utf8, broken sequences as replacement characters.
template <typename Visit>
bool ForEachCodePoint(std::string_view utf8, Visit visit) {
    bool lossless = true;
    for (std::size_t pos = 0; pos < utf8.size();) {
        std::size_t length = 1;
        char32_t cp = NextCodePoint(utf8, pos, length);
        if (cp == kInvalidCodePoint) {
            cp = kReplacementCharacter;
            lossless = false;
        }
        visit(cp);
        pos += length;
    }
    return lossless;
}

}  // namespace

DetectedEncoding DetectEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf16LeMark)) {
        return {TextEncoding::kUtf16Le, kUtf16LeMark.size()};
    }
    if (bytes.starts_with(kUtf16BeMark)) {
        return {TextEncoding::kUtf16Be, kUtf16BeMark.size()};
    }
    if (bytes.starts_with(kUtf8Mark)) {
        return {TextEncoding::kUtf8, kUtf8Mark.size()};
    }
    return {};
}

std::string_view ByteOrderMark(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::kUtf16Le:
            return kUtf16LeMark;
        case TextEncoding::kUtf16Be:
            return kUtf16BeMark;
        case TextEncoding::kUtf8:
            return kUtf8Mark;
        default:
            return {};
    }
}

std::size_t UnitSize(TextEncoding encoding) {
    return encoding == TextEncoding::kUtf16Le || encoding == TextEncoding::kUtf16Be ? 2 : 1;
}

char32_t UnitAt(std::string_view bytes, std::size_t pos, TextEncoding encoding) {
    const auto first = static_cast<unsigned char>(bytes[pos]);
    if (UnitSize(encoding) == 1) {
        return first;
    }
    const auto second = static_cast<unsigned char>(bytes[pos + 1]);
    return encoding == TextEncoding::kUtf16Le ? first | (second << 8) : (first << 8) | second;
}

std::string DecodeText(std::string_view bytes, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::kCp932:
            return Cp932ToUtf8(bytes);
        case TextEncoding::kUtf8:
            return EncodeText(bytes, TextEncoding::kUtf8);
        default:
            return DecodeUtf16(bytes, encoding);
    }
}

std::string EncodeText(std::string_view utf8, TextEncoding encoding, bool* lossless) {
    if (encoding == TextEncoding::kCp932) {
        return Utf8ToCp932(utf8, lossless);
    }
    std::string out;
    const bool exact = ForEachCodePoint(utf8, [&](char32_t cp) {
        if (encoding == TextEncoding::kUtf8) {
            AppendUtf8(out, cp);
        } else if (cp < 0x10000) {
            AppendUnit(out, cp, encoding);
        } else {
            AppendUnit(out, 0xD800 + ((cp - 0x10000) >> 10), encoding);
            AppendUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF), encoding);
        }
    });
    if (lossless != nullptr) {
        *lossless = exact;
    }
    return out;
}

std::string EncodingForm(std::string_view utf8, TextEncoding encoding) {
    return DecodeText(EncodeText(utf8, encoding), encoding);
}

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
        return kInvalidCodePoint;
    }
    if (pos + extra >= text.size()) {
        return kInvalidCodePoint;
    }
    constexpr char32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
    char32_t cp = first & (0x7F >> (extra + 1));
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            return kInvalidCodePoint;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < kShortest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return kInvalidCodePoint;
    }
    length = static_cast<std::size_t>(extra) + 1;
    return cp;
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

}  // namespace zz
