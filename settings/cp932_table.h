#pragma once
// Conversion tables of code page 932, generated into cp932_table.cpp.

#include <cstdint>

namespace zz::cp932 {

inline constexpr unsigned char kTrailFirst = 0x40;
inline constexpr unsigned char kTrailLast = 0xFC;
inline constexpr int kTrailCount = kTrailLast - kTrailFirst + 1;
inline constexpr int kLeadCount = 60;

// Row of a lead byte in kDoubleByte (0x81..0x9F, then 0xE0..0xFC), or -1 for other bytes.
constexpr int LeadRow(unsigned char byte) {
    if (byte >= 0x81 && byte <= 0x9F) {
        return byte - 0x81;
    }
    if (byte >= 0xE0 && byte <= 0xFC) {
        return byte - 0xE0 + 31;
    }
    return -1;
}

struct EncodeEntry {
    char16_t unicode;
    std::uint16_t code;  // one byte below 0x100, else lead byte * 256 + trail byte
};

// Character of each byte that is not a lead byte (0 for lead bytes).
extern const char16_t kSingleByte[256];
// Character of each lead/trail pair; 0 where the pair has none.
extern const char16_t kDoubleByte[kLeadCount][kTrailCount];
// Every character above U+007F that code page 932 holds, sorted by unicode.
extern const EncodeEntry kEncode[];
extern const int kEncodeCount;

}  // namespace zz::cp932
