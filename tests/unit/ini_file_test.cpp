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

TEST(IniFile, ReadsValuesAsTheProfileReaderDoes) {
    const IniFile ini(
        Disk("[設定]\r\n"
             "  タイトル  =   ずーむ ざっぷ \t \r\n"
             "q1=\"quoted \"\r\n"
             "q2='single'\r\n"
             "q3=\"unbalanced\r\n"
             "q4=\"\r\n"
             "q5=\"a\"b\"\r\n"
             "empty=\r\n"
             "noequals\r\n"
             "eq=a=b\n"
             "[next]\r\n"
             "after=1\r\n"));
    EXPECT_EQ(ini.GetString("設定", "タイトル", "x"), "ずーむ ざっぷ");
    EXPECT_EQ(ini.GetString("設定", "q1", "x"), "quoted ");
    EXPECT_EQ(ini.GetString("設定", "q2", "x"), "single");
    EXPECT_EQ(ini.GetString("設定", "q3", "x"), "\"unbalanced");
    EXPECT_EQ(ini.GetString("設定", "q4", "x"), "\"");
    EXPECT_EQ(ini.GetString("設定", "q5", "x"), "a\"b");
    EXPECT_EQ(ini.GetString("設定", "empty", "x"), "");
    EXPECT_EQ(ini.GetString("設定", "noequals", "x"), "x");
    EXPECT_EQ(ini.GetString("設定", "eq", "x"), "a=b");
    EXPECT_EQ(ini.GetString("設定", "after", "x"), "x");
    EXPECT_EQ(ini.GetString("next", "after", "x"), "1");
    EXPECT_EQ(ini.GetString("missing", "after", "x"), "x");
    EXPECT_EQ(IniFile(std::string("[s]\r\nk=ab\0cd\r\n", 14)).GetString("s", "k", "x"), "ab");
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
    EXPECT_EQ(ini.GetString("SoundFile", "ア", ""), "katakana a");
    EXPECT_EQ(ini.GetString("SoundFile", "ヂ", ""), "katakana di");
    EXPECT_EQ(ini.GetString("SoundFile", "ａ", "none"), "none");
    // Only the first section of a name counts, as with the platform's reader.
    EXPECT_EQ(ini.GetString("SoundFile", "second", "none"), "none");

    IniFile onlyDi(Disk("[s]\r\nヂ=1\r\n"));
    EXPECT_EQ(onlyDi.GetInt("s", "ア", -1), -1);
    ASSERT_TRUE(onlyDi.SetString("s", "ア", "2"));
    EXPECT_EQ(onlyDi.Bytes(), Disk("[s]\r\nヂ=1\r\nア=2\r\n"));
}

TEST(IniFile, ValuesAreCutTo255BytesAtACharacterBoundary) {
    auto read = [](const std::string& value) {
        return IniFile(Disk("[s]\r\nk=" + value + "\r\n")).GetString("s", "k", "");
    };
    auto repeat = [](std::string_view text, int count) {
        std::string out;
        for (int i = 0; i < count; ++i) {
            out += text;
        }
        return out;
    };
    EXPECT_EQ(read(std::string(300, 'x')), std::string(255, 'x'));
    EXPECT_EQ(read(std::string(255, 'x')), std::string(255, 'x'));
    EXPECT_EQ(read("\"" + std::string(300, 'q') + "\""), std::string(255, 'q'));
    // 表 is two bytes: 127 of them fill 254 bytes, the 128th would end at byte 256.
    EXPECT_EQ(read(repeat("表", 150)), repeat("表", 127));
    EXPECT_EQ(read("a" + repeat("表", 149)), "a" + repeat("表", 127));
    EXPECT_EQ(read(repeat("ｱ", 300)), repeat("ｱ", 255));  // half-width: one byte each
}

TEST(IniFile, IntegersAreTheLeadingDecimalNumberHeldToIntRange) {
    const struct {
        const char* value;
        int expected;
    } cases[] = {
        {"-1", -1},
        {"abc", 0},
        {"12abc", 12},
        {"  7  ", 7},
        {"\"5\"", 5},
        {"+3", 3},
        {"-", 0},
        {"- 4", 0},
        {"0x10", 0},
        {"1e3", 1},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"99999999999999999999999999999999", INT_MAX},
        {"-99999999999999999999999999999999", INT_MIN},
        {"０", 0},  // full-width digit
    };
    for (const auto& c : cases) {
        const IniFile ini(Disk(std::string("[s]\r\nk=") + c.value + "\r\n"));
        EXPECT_EQ(ini.GetInt("s", "k", 42), c.expected) << c.value;
    }
    const IniFile ini(Disk("[s]\r\nempty=\r\nblank=   \r\n"));
    EXPECT_EQ(ini.GetInt("s", "empty", 42), 42);
    EXPECT_EQ(ini.GetInt("s", "blank", 42), 42);
    EXPECT_EQ(ini.GetInt("s", "missing", -1), -1);
    EXPECT_EQ(ini.GetInt("t", "k", 9), 9);
}

TEST(IniFile, WritesInPlaceAtTheEndOfTheSectionOrInANewSection) {
    IniFile ini(
        Disk("; notes of the parent\r\n"
             "[設定]\r\n"
             "速さ = 5\r\n"
             "unknown=keep me\r\n"
             "\r\n"
             "[Other]\n"
             "x = 1\r\n"));
    ASSERT_TRUE(ini.SetString("設定", "速さ", "7"));
    ASSERT_TRUE(ini.SetString("設定", "表示", "ソ表示"));
    ASSERT_TRUE(ini.SetString("設定", "グループ", ""));
    ASSERT_TRUE(ini.SetString("OTHER", "X", "2"));
    ASSERT_TRUE(ini.SetString("SoundFile", "ソ.png", "-1"));
    EXPECT_EQ(ini.Bytes(), Disk("; notes of the parent\r\n"
                                "[設定]\r\n"
                                "速さ=7\r\n"
                                "unknown=keep me\r\n"
                                "表示=ソ表示\r\n"
                                "グループ=\r\n"
                                "\r\n"
                                "[Other]\n"
                                "X=2\r\n"
                                "[SoundFile]\r\n"
                                "ソ.png=-1\r\n"));
    // Shift-JIS bytes of 表示 and ソ hold 0x5C; they reach the disk unchanged.
    EXPECT_NE(ini.Bytes().find("\x95\x5C\x8E\xA6=\x83\x5C\x95\x5C\x8E\xA6\r\n"), std::string::npos);
    EXPECT_EQ(ini.GetString("設定", "表示", ""), "ソ表示");
    EXPECT_EQ(ini.GetString("設定", "グループ", "x"), "");
}

TEST(IniFile, LinesItDoesNotOwnSurviveByteForByte) {
    std::string foreign =
        "# odd: \x81\x20 \x85\x40 \xFF\x81\r\n"
        "[SoundFile]\r\n"
        "a.png=1\n"
        "lone\rcarriage=2\r\n"
        "nul";
    foreign += '\0';
    foreign +=
        "byte=3\r\n"
        "  spaced   =  4  \r\n"
        "\r\n"
        "[Empty]";
    IniFile ini(foreign);
    EXPECT_EQ(ini.Bytes(), foreign);
    EXPECT_EQ(ini.GetInt("SoundFile", "spaced", 0), 4);
    ASSERT_TRUE(ini.SetString("設定", "音声", "1"));
    ASSERT_TRUE(ini.SetString("Empty", "k", "v"));
    EXPECT_EQ(ini.Bytes(), foreign + "\r\nk=v\r\n" + Disk("[設定]\r\n音声=1\r\n"));

    IniFile noLineEnd(Disk("[a]\r\nk=1"));
    ASSERT_TRUE(noLineEnd.SetString("a", "m", "2"));
    EXPECT_EQ(noLineEnd.Bytes(), Disk("[a]\r\nk=1\r\nm=2\r\n"));
}

TEST(IniFile, RefusesWhatTheLineFormCannotHold) {
    const std::string before = Disk("[s]\r\nk=1\r\n");
    IniFile ini(before);
    EXPECT_FALSE(ini.SetString("s", "k", "two\r\nlines"));
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
    EXPECT_EQ(ini.GetString("s", "k", ""), "caf?");
}

}  // namespace
}  // namespace zz
