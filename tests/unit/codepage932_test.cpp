#include "settings/codepage932.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
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

TEST(Codepage932, SingleBytesAsWindowsMapsThem) {
    ExpectPair("Zoomzap.ini \\ ~ [a=b]", "Zoomzap.ini \\ ~ [a=b]");
    ExpectPair(std::string(1, '\0'), std::string(1, '\0'));
    ExpectPair("ｱｲｳﾞﾟ｡", Bytes({0xB1, 0xB2, 0xB3, 0xDE, 0xDF, 0xA1}));
    ExpectPair("\u0080\uF8F0\uF8F1\uF8F2\uF8F3", Bytes({0x80, 0xA0, 0xFD, 0xFE, 0xFF}));
}

TEST(Codepage932, DoubleByteCharactersWithBackslashOrLetterTrailBytes) {
    ExpectPair("表示", Bytes({0x95, 0x5C, 0x8E, 0xA6}));
    ExpectPair("ソ能", Bytes({0x83, 0x5C, 0x94, 0x5C}));
    ExpectPair("アヂ", Bytes({0x83, 0x41, 0x83, 0x61}));
    ExpectPair("設定", Bytes({0x90, 0xDD, 0x92, 0xE8}));
    ExpectPair("＼～∥－", Bytes({0x81, 0x5F, 0x81, 0x60, 0x81, 0x61, 0x81, 0x7C}));
    ExpectPair("\uE000", Bytes({0xF0, 0x40}));
}

// Where several codes decode to one character, Windows writes the lowest, except that the
// NEC-selected IBM extensions lose to the IBM extensions.
TEST(Codepage932, CharactersWithSeveralCodesEncodeAsWindowsDoes) {
    const struct {
        const char* utf8;
        std::string preferred;
        std::string other;
    } cases[] = {
        {"≒", Bytes({0x81, 0xE0}), Bytes({0x87, 0x90})},
        {"∵", Bytes({0x81, 0xE6}), Bytes({0xFA, 0x5B})},
        {"￢", Bytes({0x81, 0xCA}), Bytes({0xEE, 0xF9})},
        {"Ⅰ", Bytes({0x87, 0x54}), Bytes({0xFA, 0x4A})},
        {"ⅰ", Bytes({0xFA, 0x40}), Bytes({0xEE, 0xEF})},
        {"纊", Bytes({0xFA, 0x5C}), Bytes({0xED, 0x40})},
    };
    for (const auto& c : cases) {
        ExpectPair(c.utf8, c.preferred);
        EXPECT_EQ(Cp932ToUtf8(c.other), c.utf8);
    }
}

TEST(Codepage932, EveryCharacterOfTheTableComesBackThroughEncoding) {
    std::set<std::string> characters;
    auto check = [&](const std::string& code) {
        const std::string utf8 = Cp932ToUtf8(code);
        if (utf8 == "・" && code != Bytes({0x81, 0x45})) {
            return;  // no character here
        }
        bool lossless = false;
        const std::string encoded = Utf8ToCp932(utf8, &lossless);
        ASSERT_TRUE(lossless) << utf8;
        ASSERT_EQ(Cp932ToUtf8(encoded), utf8);
        characters.insert(utf8);
    };
    for (int first = 0; first < 256; ++first) {
        if (Cp932ToUtf8(Bytes({first})) != "・") {
            check(Bytes({first}));
            continue;
        }
        for (int trail = 1; trail < 256; ++trail) {
            check(Bytes({first, trail}));
        }
    }
    // As many as Windows' own table of the code page holds.
    EXPECT_EQ(characters.size(), 9402u);
}

TEST(Codepage932, BytesWithoutCharacterDecodeAsWindowsDoes) {
    EXPECT_EQ(Cp932ToUtf8(Bytes({'a', 0x81})), "a・");  // lead byte at the end
    EXPECT_EQ(Cp932ToUtf8(Bytes({0x81, 0x00, 'b'})), "・" + std::string(1, '\0') + "b");
    EXPECT_EQ(Cp932ToUtf8(Bytes({0x81, 0x20, 'b'})), "・b");  // trail out of range
    EXPECT_EQ(Cp932ToUtf8(Bytes({0x81, 0x7F, 'b'})), "・b");
    EXPECT_EQ(Cp932ToUtf8(Bytes({0x85, 0x40, 'b'})), "・b");  // pair without character
    EXPECT_EQ(Cp932ToUtf8(Bytes({0x81, 0x45})), "・");        // the real one
}

TEST(Codepage932, WhatTheCodePageCannotHoldBecomesQuestionMark) {
    const struct {
        std::string utf8;
        std::string cp932;
    } cases[] = {
        {"café", "caf?"},
        {"¥100", "?100"},  // no best fit: a yen sign must not become a backslash
        {"한글", "??"},
        {"😀.png", "?.png"},
        {Bytes({'a', 0xFF, 'b'}), "a?b"},
        {"\xC0\xAF", "??"},                             // overlong '/'
        {"\xED\xA0\x80", "???"},                        // surrogate
        {"表\xE7\xA4", Bytes({0x95, 0x5C, '?', '?'})},  // cut short
    };
    for (const auto& c : cases) {
        bool lossless = true;
        EXPECT_EQ(Utf8ToCp932(c.utf8, &lossless), c.cp932) << c.utf8;
        EXPECT_FALSE(lossless) << c.utf8;
    }
    bool lossless = false;
    EXPECT_EQ(Utf8ToCp932("", &lossless), "");
    EXPECT_TRUE(lossless);
    EXPECT_EQ(Utf8ToCp932("é"), "?");
}

TEST(Codepage932, PrefixNeverEndsInsideDoubleByteCharacter) {
    const std::string text = Bytes({'a', 0x95, 0x5C, 0x8E, 0xA6});  // a表示
    EXPECT_EQ(Cp932Prefix(text, 0), "");
    EXPECT_EQ(Cp932Prefix(text, 2), "a");
    EXPECT_EQ(Cp932Prefix(text, 3), Bytes({'a', 0x95, 0x5C}));
    EXPECT_EQ(Cp932Prefix(text, 4), Bytes({'a', 0x95, 0x5C}));
    EXPECT_EQ(Cp932Prefix(text, 9), text);
    EXPECT_EQ(Cp932Prefix(Bytes({'a', 0x81}), 2), Bytes({'a', 0x81}));  // lone lead: one byte
}

}  // namespace
}  // namespace zz
