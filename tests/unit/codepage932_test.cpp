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

TEST(Codepage932, CodesAsWindowsMapsThemBothWays) {
    const struct {
        std::string utf8;
        std::string cp932;
    } pairs[] = {
        {"ｱﾞ｡", Bytes({0xB1, 0xDE, 0xA1})},
        {"\u0080\uF8F0\uF8F3", Bytes({0x80, 0xA0, 0xFF})},
        {"表ソ能", Bytes({0x95, 0x5C, 0x83, 0x5C, 0x94, 0x5C})},  // trail bytes: backslashes
        {"アヂ", Bytes({0x83, 0x41, 0x83, 0x61})},                // and letters
        {"＼～◯", Bytes({0x81, 0x5F, 0x81, 0x60, 0x81, 0xFC})},   // the last trail byte
        {"\uE000黑", Bytes({0xF0, 0x40, 0xFC, 0x4B})},
        // Where several codes decode to one character Windows writes the lowest, but the
        // NEC-selected IBM extensions lose to the IBM extensions.
        {"≒∵ⅰ纊", Bytes({0x81, 0xE0, 0x81, 0xE6, 0xFA, 0x40, 0xFA, 0x5C})},
    };
    for (const auto& pair : pairs) {
        bool lossless = false;
        EXPECT_EQ(Utf8ToCp932(pair.utf8, &lossless), pair.cp932) << pair.utf8;
        EXPECT_TRUE(lossless) << pair.utf8;
        EXPECT_EQ(Cp932ToUtf8(pair.cp932), pair.utf8) << pair.utf8;
    }
    EXPECT_EQ(Cp932ToUtf8(Bytes({0x87, 0x90, 0xFA, 0x5B, 0xEE, 0xEF, 0xED, 0x40})), "≒∵ⅰ纊");
    // Bytes without a character decode to what Windows gives for them.
    EXPECT_EQ(Cp932ToUtf8(Bytes({'a', 0x81})), "a・");
    EXPECT_EQ(Cp932ToUtf8(std::string_view("\x81\x40", 1)), "・");  // never read past the end
    EXPECT_EQ(Cp932ToUtf8(Bytes({0x81, 0x00, 'b'})), std::string("・\0b", 5));
    EXPECT_EQ(Cp932ToUtf8(Bytes({0x81, 0x7F, 0x81, 0xFD, 0x85, 0x40})), "・・・");
}

TEST(Codepage932, WhatTheCodePageCannotHoldBecomesQuestionMarksNeverAscii) {
    const struct {
        std::string utf8;
        std::string cp932;
    } cases[] = {
        {"¥100", "?100"},              // no best fit: a yen sign must not become a backslash
        {"😀.png", "??.png"},           // two UTF-16 units, two marks, as the platform writes it
        {"\xC0\xAF\xC1\xBF", "????"},  // overlong '/' and DEL
        {"\xE0\x80\xAF\xF0\x80\x80\xAF", "???????"},
        {"\xED\xA0\x80", "???"},                        // a surrogate
        {"表\xE7\xA4", Bytes({0x95, 0x5C, '?', '?'})},  // cut short
        {"\xF4\x90\x80\x80\xF5\x80", "??????"},         // past U+10FFFF
        {"\uFFFF", "?"},                                // the basic plane's last: one unit
    };
    for (const auto& c : cases) {
        bool lossless = true;
        EXPECT_EQ(Utf8ToCp932(c.utf8, &lossless), c.cp932) << c.utf8;
        EXPECT_FALSE(lossless) << c.utf8;
    }
}

TEST(Codepage932, APrefixNeverEndsInsideADoubleByteCharacter) {
    const std::string text = Bytes({'a', 0x95, 0x5C, 0x8E, 0xA6});  // a表示
    for (const auto& [max, prefix] : {std::pair<int, std::string>{2, "a"},
                                      {3, Bytes({'a', 0x95, 0x5C})},
                                      {4, Bytes({'a', 0x95, 0x5C})},
                                      {9, text}}) {
        EXPECT_EQ(Cp932Prefix(text, static_cast<std::size_t>(max)), prefix) << max;
    }
    EXPECT_EQ(Cp932Prefix(Bytes({'a', 0x81}), 2), Bytes({'a', 0x81}));  // a lone lead: one byte
}

}  // namespace
}  // namespace zz
