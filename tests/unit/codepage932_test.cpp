#include "settings/codepage932.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace zz {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (const int value : values) {
        bytes += static_cast<char>(value);
    }
    return bytes;
}

// Both directions, with the encoder claiming no loss.
void ExpectPair(const std::string& utf8, const std::string& cp932) {
    bool lossless = false;
    EXPECT_EQ(Utf8ToCp932(utf8, &lossless), cp932) << utf8;
    EXPECT_TRUE(lossless) << utf8;
    EXPECT_EQ(Cp932ToUtf8(cp932), utf8) << utf8;
}

TEST(Codepage932, CodesAsWindowsMapsThem) {
    ExpectPair("ｱﾞ｡", Bytes({0xB1, 0xDE, 0xA1}));
    ExpectPair("\u0080\uF8F0\uF8F3", Bytes({0x80, 0xA0, 0xFF}));
    // Trail bytes that are a backslash or an ASCII letter.
    ExpectPair("表ソ能", Bytes({0x95, 0x5C, 0x83, 0x5C, 0x94, 0x5C}));
    ExpectPair("アヂ", Bytes({0x83, 0x41, 0x83, 0x61}));
    ExpectPair("＼～", Bytes({0x81, 0x5F, 0x81, 0x60}));
    ExpectPair("\uE000", Bytes({0xF0, 0x40}));
    // Where several codes decode to one character, Windows writes the lowest, except that the
    // NEC-selected IBM extensions lose to the IBM extensions.
    ExpectPair("≒∵ⅰ纊", Bytes({0x81, 0xE0, 0x81, 0xE6, 0xFA, 0x40, 0xFA, 0x5C}));
    EXPECT_EQ(Cp932ToUtf8(Bytes({0x87, 0x90, 0xFA, 0x5B, 0xEE, 0xEF, 0xED, 0x40})), "≒∵ⅰ纊");
}

TEST(Codepage932, BytesWithoutCharacterDecodeAsWindowsDoes) {
    EXPECT_EQ(Cp932ToUtf8(Bytes({'a', 0x81})), "a・");  // lead byte at the end
    EXPECT_EQ(Cp932ToUtf8(Bytes({0x81, 0x00, 'b'})), "・" + std::string(1, '\0') + "b");
    EXPECT_EQ(Cp932ToUtf8(Bytes({0x81, 0x7F, 'b'})), "・b");  // trail out of range
    EXPECT_EQ(Cp932ToUtf8(Bytes({0x85, 0x40, 'b'})), "・b");  // pair without character
}

TEST(Codepage932, WhatTheCodePageCannotHoldBecomesQuestionMark) {
    const struct {
        std::string utf8;
        std::string cp932;
    } cases[] = {
        {"¥100", "?100"},         // no best fit: a yen sign must not become a backslash
        {"😀.png", "??.png"},      // two UTF-16 units, two marks, as the platform writes it
        {"\xC0\xAF", "??"},       // overlong '/'
        {"\xED\xA0\x80", "???"},  // surrogate
        {"表\xE7\xA4", Bytes({0x95, 0x5C, '?', '?'})},  // cut short
    };
    for (const auto& c : cases) {
        bool lossless = true;
        EXPECT_EQ(Utf8ToCp932(c.utf8, &lossless), c.cp932) << c.utf8;
        EXPECT_FALSE(lossless) << c.utf8;
    }
}

TEST(Codepage932, PrefixNeverEndsInsideDoubleByteCharacter) {
    const std::string text = Bytes({'a', 0x95, 0x5C, 0x8E, 0xA6});  // a表示
    EXPECT_EQ(Cp932Prefix(text, 2), "a");
    EXPECT_EQ(Cp932Prefix(text, 4), Bytes({'a', 0x95, 0x5C}));
    EXPECT_EQ(Cp932Prefix(text, 9), text);
    EXPECT_EQ(Cp932Prefix(Bytes({'a', 0x81}), 2), Bytes({'a', 0x81}));  // lone lead: one byte
}

}  // namespace
}  // namespace zz
