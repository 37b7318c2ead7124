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

std::string ReadK(const std::string& value) {
    return IniFile(Disk("[s]\r\nk=" + value + "\r\n")).GetString("s", "k", "x");
}

TEST(IniFile, ReadsValuesAsTheProfileReaderDoes) {
    EXPECT_EQ(ReadK("  ずーむ ざっぷ \t "), "ずーむ ざっぷ");
    EXPECT_EQ(ReadK("\"quoted \""), "quoted ");
    EXPECT_EQ(ReadK("'single'"), "single");
    EXPECT_EQ(ReadK("\"unbalanced"), "\"unbalanced");
    EXPECT_EQ(ReadK("\""), "\"");
    EXPECT_EQ(ReadK("a=b"), "a=b");
    EXPECT_EQ(IniFile(std::string("[s]\r\nk=ab\0cd\r\n", 14)).GetString("s", "k", "x"), "ab");
    // 表 is two bytes: 127 of them fill 254 bytes, the 128th would end at byte 256.
    std::string many;
    for (int i = 0; i < 150; ++i) {
        many += "表";
    }
    EXPECT_EQ(ReadK(many), many.substr(0, 127 * 3));
    EXPECT_EQ(ReadK("\"" + std::string(300, 'q') + "\""), std::string(255, 'q'));
}

TEST(IniFile, NamesMatchIgnoringTheCaseOfAsciiLettersOnly) {
    const IniFile ini(
        Disk("[SoundFile]\r\n"
             "Animals\\Dog.PNG=3\r\n"
             "ア=katakana a\r\n"    // 83 41
             "ヂ=katakana di\r\n"   // 83 61: trail byte 'a' where ア has 'A'
             "Ａ=full-width A\r\n"  // 82 60
             "[soundfile]\r\n"
             "second=1\r\n"));
    EXPECT_EQ(ini.GetInt("soundFILE", "animals\\dog.png", -1), 3);
    EXPECT_EQ(ini.GetString("SoundFile", "ヂ", ""), "katakana di");
    EXPECT_EQ(ini.GetString("SoundFile", "ａ", "none"), "none");
    // Only the first section of a name counts, as with the platform's reader.
    EXPECT_EQ(ini.GetString("SoundFile", "second", "none"), "none");

    IniFile onlyDi(Disk("[s]\r\nヂ=1\r\n"));
    ASSERT_TRUE(onlyDi.SetString("s", "ア", "2"));
    EXPECT_EQ(onlyDi.Bytes(), Disk("[s]\r\nヂ=1\r\nア=2\r\n"));
}

TEST(IniFile, IntegersAreTheLeadingDecimalNumberHeldToIntRange) {
    const struct {
        const char* value;
        int expected;
    } cases[] = {{"12abc", 12},
                 {"\"5\"", 5},
                 {"+3", 3},
                 {"- 4", 0},
                 {"0x10", 0},
                 {"2147483648", INT_MAX},
                 {"-2147483649", INT_MIN},
                 {"-99999999999999999999", INT_MIN},
                 {"０", 0},
                 {"   ", 42}};
    for (const auto& c : cases) {
        const IniFile ini(Disk(std::string("[s]\r\nk=") + c.value + "\r\n"));
        EXPECT_EQ(ini.GetInt("s", "k", 42), c.expected) << c.value;
    }
}

TEST(IniFile, WritesInPlaceAndKeepsLinesItDoesNotOwn) {
    std::string foreign = Disk("; notes\r\n[設定]\r\n速さ = 5\r\n\r\n[Other]\n") +
                          "odd: \x81\x20 \x85\x40 \xFF\x81\r\nlone\rcarriage=2\r\nnul";
    foreign += '\0';
    foreign += "byte=3\r\n[Empty]";
    IniFile ini(foreign);
    EXPECT_EQ(ini.Bytes(), foreign);
    ASSERT_TRUE(ini.SetString("設定", "速さ", "7"));
    ASSERT_TRUE(ini.SetString("設定", "表示", "ソ"));
    ASSERT_TRUE(ini.SetString("Empty", "k", "v"));
    ASSERT_TRUE(ini.SetString("SoundFile", "ソ.png", "-1"));
    // The 0x5C trail bytes of 表示 and ソ reach the disk unchanged.
    EXPECT_EQ(ini.Bytes(), Disk("; notes\r\n[設定]\r\n速さ=7\r\n") +
                               "\x95\x5C\x8E\xA6=\x83\x5C\r\n" +
                               foreign.substr(Disk("; notes\r\n[設定]\r\n速さ = 5\r\n").size()) +
                               "\r\nk=v\r\n" + Disk("[SoundFile]\r\nソ.png=-1\r\n"));
    EXPECT_EQ(ini.GetString("設定", "表示", ""), "ソ");
}

TEST(IniFile, RefusesWhatTheLineFormCannotHold) {
    const std::string before = Disk("[s]\r\nk=1\r\n");
    IniFile ini(before);
    EXPECT_FALSE(ini.SetString("s", "k", "line\nbreak"));
    EXPECT_FALSE(ini.SetString("s", "a=b", "1"));
    EXPECT_FALSE(ini.SetString("s", "[cute] dog.png", "1"));
    EXPECT_FALSE(ini.SetString("s", "  ", "1"));
    EXPECT_FALSE(ini.SetString("", "k", "1"));
    EXPECT_FALSE(ini.SetString("s", "k", std::string("nul\0", 4)));
    EXPECT_EQ(ini.Bytes(), before);
    // A character the code page lacks is written as '?', as the platform writes it.
    ASSERT_TRUE(ini.SetString("s", "k", "café"));
    EXPECT_EQ(ini.Bytes(), Disk("[s]\r\nk=caf?\r\n"));
}

}  // namespace
}  // namespace zz
