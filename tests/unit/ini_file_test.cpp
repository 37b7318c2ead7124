// The settings file's bytes: code page 932 as Windows converts it, and the INI lines as the
// platform's profile functions read and write them.

#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "settings/codepage932.h"

namespace zz {
namespace {

// The file as code page 932 bytes from readable UTF-8 text.
std::string Disk(std::string_view utf8) {
    return Utf8ToCp932(utf8);
}

std::string Repeat(std::string_view text, int times) {
    std::string repeated;
    while (times-- > 0) {
        repeated += text;
    }
    return repeated;
}

// As the platform's profile reader: blanks around dropped, then one pair of matching quotes;
// a NUL ends the value, the reader's buffer holds 255 bytes and never half a character, and
// an integer is the leading number held to the range of int.
TEST(IniFile, ValuesAndIntegersReadAsTheProfileReaderReadsThem) {
    const std::tuple<std::string, std::string, int> cases[] = {
        {"  ずーむ ざっぷ \t ", "ずーむ ざっぷ", 0},
        {"\"quoted \"", "quoted ", 0},
        {"'5'", "5", 5},
        {"\"mismatched'", "\"mismatched'", 0},
        {std::string("12\0 34", 6), "12", 12},
        {Repeat("表", 150), Repeat("表", 127), 0},
        {"\"" + std::string(300, '9') + "\"", std::string(255, '9'), INT_MAX},
        {"+3x=", "+3x=", 3},
        {"-2147483649", "-2147483649", INT_MIN},
        {"０x", "０x", 0},
        {"  ", "", 42},  // an empty value gives the default
    };
    for (const auto& [value, text, number] : cases) {
        const IniFile ini(Disk("[s]\r\nk=") + Disk(value) + "\r\n");
        EXPECT_EQ(std::pair(ini.GetString("s", "k", "?"), ini.GetInt("s", "k", 42)),
                  std::pair(text, number))
            << value;
    }
}

TEST(IniFile, NamesMatchIgnoringTheCaseOfAsciiLettersOnlyAndTheFirstOfANameCounts) {
    IniFile ini(
        Disk("[SoundFile]\r\nAnimals\\Dog.PNG=3\r\nヂ=di\r\nＡ=wide A\r\nANIMALS\\DOG.png=4\r\n"
             "[soundfile]\r\nx=1\r\n"));
    EXPECT_EQ(ini.GetInt("soundFILE", "animals\\dog.png", -1), 3);
    EXPECT_EQ(ini.GetString("SoundFile", "ａ", "none") + ini.GetString("SoundFile", "x", "none"),
              "nonenone");
    // ア is 83 41 and ヂ 83 61: trail bytes 'A' and 'a'.
    ASSERT_TRUE(ini.SetString("SoundFile", "ア", "2"));
    EXPECT_EQ(ini.GetString("SoundFile", "ヂ", "") + ini.GetString("SoundFile", "ア", ""), "di2");
}

// Lines ended by CR LF, LF or a CR alone, blanks inside brackets, notes, broken double-byte
// characters and NULs: every line the writer does not own stays byte for byte.
TEST(IniFile, WritesInPlaceAndKeepsEveryLineItDoesNotOwn) {
    std::string foreign = Disk("; notes\r\n[ 設定 ]\r速さ = 5\r\n\r\n[Other]\n") +
                          "odd: \x81\x20 \x85\x40 \xFF\x81\r\nlone\rcarriage=2\r\nnul";
    foreign += std::string("\0byte=3\r\n[Empty]", 17);
    IniFile ini(foreign);
    EXPECT_EQ(ini.Bytes(), foreign);
    EXPECT_EQ(std::pair(ini.GetInt("設定", "速さ", 0), ini.GetInt("other", "carriage", 0)),
              std::pair(5, 2));
    for (const auto& [section, key, value] : {std::tuple{"設定", "速さ", "7"},
                                              {"設定", "表示", "ソ"},
                                              {"Empty", "k", "v"},
                                              {"SoundFile", "ソ.png", "-1"}}) {
        ASSERT_TRUE(ini.SetString(section, key, value));
    }
    // 表示 and ソ end in 0x5C, a backslash, and reach the disk unchanged.
    EXPECT_EQ(ini.Bytes(), Disk("; notes\r\n[ 設定 ]\r速さ=7\r\n") +
                               "\x95\x5C\x8E\xA6=\x83\x5C\r\n" +
                               foreign.substr(Disk("; notes\r\n[ 設定 ]\r速さ = 5\r\n").size()) +
                               "\r\nk=v\r\n" + Disk("[SoundFile]\r\nソ.png=-1\r\n"));
    // A first line is ended before the next, but a byte-order mark stays alone.
    for (const auto& [before, after] :
         {std::pair<std::string, std::string>{"[s]", "[s]\r\nk=v\r\n"},
          {"\xEF\xBB\xBF", "\xEF\xBB\xBF[s]\r\nk=v\r\n"}}) {
        IniFile first(before);
        ASSERT_TRUE(first.SetString("s", "k", "v"));
        EXPECT_EQ(first.Bytes(), after);
    }
}

TEST(IniFile, UnicodeFilesAreReadAndWrittenInTheirOwnEncoding) {
    const auto file = [](TextEncoding encoding, std::string_view utf8) {
        return std::string(ByteOrderMark(encoding)) + EncodeText(utf8, encoding);
    };
    const std::string longValue = Repeat("〜", 254);
    for (const TextEncoding encoding :
         {TextEncoding::kUtf16Le, TextEncoding::kUtf16Be, TextEncoding::kUtf8}) {
        const std::string text =
            "[設定]\r\nタイトル= ずーむ\u07FF\u0800é \r\n[s]\rlong=" + longValue + "😀\n";
        IniFile ini(file(encoding, text));
        EXPECT_EQ(ini.Encoding(), encoding);
        EXPECT_EQ(ini.GetString("設定", "タイトル", ""), "ずーむ\u07FF\u0800é");
        EXPECT_EQ(ini.GetString("s", "long", ""), longValue);  // 255 units, never half a pair
        ASSERT_TRUE(ini.SetString("SoundFile", "〜\\é.png", "3"));
        EXPECT_EQ(ini.Bytes(), file(encoding, text + "[SoundFile]\r\n〜\\é.png=3\r\n"));
    }
    // A pair of surrogates that ends the file is one character.
    EXPECT_EQ(IniFile(file(TextEncoding::kUtf16Le, "[s]\r\nk=😀")).GetString("s", "k", ""), "😀");
    // A lone surrogate and half a code unit at the end: kept, read the same after a write, and
    // what is written after them stays readable.
    const std::string damaged =
        file(TextEncoding::kUtf16Le, "[s]\r\na=") + std::string("\x00\xD8", 2) + "b";
    IniFile ini(damaged);
    ASSERT_TRUE(ini.SetString("s", "k", "v"));
    EXPECT_TRUE(ini.Bytes().starts_with(damaged));
    EXPECT_EQ(
        IniFile(ini.Bytes()).GetString("s", "k", "") + IniFile(ini.Bytes()).GetString("s", "a", ""),
        "v\uFFFDb");
}

// Every code against Windows' own conversion is the Windows-side test's; here what a native
// run must see: trail bytes that are backslashes or the last one, and bytes without a character.
TEST(Codepage932, CodesAsWindowsMapsThemBothWays) {
    const std::string cp932 = "\x95\x5C\x83\x5C\x81\x5F\x81\xFC\xF0\x40\xFC\x4B";
    bool lossless = false;
    EXPECT_EQ(Utf8ToCp932("表ソ＼◯\uE000黑", &lossless), cp932);
    EXPECT_TRUE(lossless);
    EXPECT_EQ(Cp932ToUtf8(cp932), "表ソ＼◯\uE000黑");
    EXPECT_EQ(Cp932ToUtf8("a\x81"), "a・");
    EXPECT_EQ(Cp932ToUtf8(std::string_view("\x81\x40", 1)), "・");  // never read past the end
    EXPECT_EQ(Cp932ToUtf8(std::string("\x81\0b", 3)), std::string("・\0b", 5));
}

TEST(Codepage932, WhatTheCodePageCannotHoldBecomesQuestionMarksNeverAscii) {
    const std::pair<std::string, std::string> cases[] = {
        {"¥100", "?100"},              // no best fit: a yen sign must not become a backslash
        {"😀.png", "??.png"},           // two UTF-16 units, two marks, as the platform writes it
        {"\xC0\xAF\xC1\xBF", "????"},  // overlong '/' and DEL
        {"\xE0\x80\xAF\xF0\x80\x80\xAF", "???????"},
        {"\xED\xA0\x80", "???"},                 // a surrogate
        {"表\xE7\xA4", "\x95\x5C??"},            // cut short
        {"\xF4\x90\x80\x80\xF5\x80", "??????"},  // past U+10FFFF
        {"\uFFFF", "?"},                         // the basic plane's last: one unit
    };
    for (const auto& [utf8, cp932] : cases) {
        bool lossless = true;
        EXPECT_EQ(Utf8ToCp932(utf8, &lossless), cp932) << utf8;
        EXPECT_FALSE(lossless) << utf8;
    }
}

}  // namespace
}  // namespace zz
