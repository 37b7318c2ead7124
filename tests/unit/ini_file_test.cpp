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

TEST(IniFile, HandEditedLinesReadAsThePlatformReadsThem) {
    // Blanks inside the brackets, and lines ended by a CR alone, by LF alone or by CR LF.
    IniFile ini(Disk("[ 設定 ]\r速さ=5\r\r[  SoundFile\t]\nア.png = 2\r\n[x]\r"));
    EXPECT_EQ(ini.GetInt("設定", "速さ", 0), 5);
    EXPECT_EQ(ini.GetInt("soundfile", "ア.png", 0), 2);
    ASSERT_TRUE(ini.SetString("設定", "表示", "1"));
    ASSERT_TRUE(ini.SetString("x", "k", "v"));
    const IniFile again(ini.Bytes());
    EXPECT_EQ(again.GetInt("設定", "表示", 0), 1);
    EXPECT_EQ(again.GetInt("設定", "速さ", 0), 5);
    EXPECT_EQ(again.GetString("x", "k", ""), "v");
}

// The file as a Unicode editor or the platform's W functions keep it: mark, then text.
std::string Unicode(TextEncoding encoding, std::string_view utf8) {
    return std::string(ByteOrderMark(encoding)) + EncodeText(utf8, encoding);
}

TEST(IniFile, UnicodeFilesAreReadAndWrittenInTheirOwnEncoding) {
    std::string longValue;
    for (int i = 0; i < 254; ++i) {
        longValue += "〜";
    }
    for (const TextEncoding encoding :
         {TextEncoding::kUtf16Le, TextEncoding::kUtf16Be, TextEncoding::kUtf8}) {
        SCOPED_TRACE(static_cast<int>(encoding));
        const std::string text = "[設定]\r\nタイトル= ずーむ〜é \r\n[s]\rlong=" + longValue + "😀\n";
        IniFile ini(Unicode(encoding, text));
        EXPECT_EQ(ini.Encoding(), encoding);
        EXPECT_EQ(ini.GetString("設定", "タイトル", ""), "ずーむ〜é");
        // 255 code units at most, and never half of a pair.
        EXPECT_EQ(ini.GetString("s", "long", ""), longValue);
        ASSERT_TRUE(ini.SetString("設定", "グループ", "〜あか"));
        ASSERT_TRUE(ini.SetString("SoundFile", "〜\\é.png", "3"));
        EXPECT_EQ(ini.Bytes(), Unicode(encoding,
                                       "[設定]\r\nタイトル= ずーむ〜é \r\n"
                                       "グループ=〜あか\r\n[s]\rlong=" +
                                           longValue + "😀\n" + "[SoundFile]\r\n〜\\é.png=3\r\n"));
        EXPECT_EQ(KeyForm(" 〜\\é.png ", encoding), "〜\\é.png");
    }
    // A lone surrogate and half a code unit at the end: kept on disk, read the same after a
    // write, and what is written after them stays readable.
    const std::string damaged =
        Unicode(TextEncoding::kUtf16Le, "[s]\r\na=") + std::string("\x00\xD8", 2) + "b";
    IniFile ini(damaged);
    EXPECT_EQ(ini.GetString("s", "a", ""), "\uFFFDb");
    ASSERT_TRUE(ini.SetString("s", "k", "v"));
    EXPECT_TRUE(ini.Bytes().starts_with(damaged));
    EXPECT_EQ(IniFile(ini.Bytes()).GetString("s", "k", ""), "v");
    EXPECT_EQ(IniFile(ini.Bytes()).GetString("s", "a", ""), "\uFFFDb");
}

TEST(IniFile, NamesTheCodePageCannotHoldAreFoundInTheFormTheFileHolds) {
    // The platform writes '?' for them; a file written so before is found again too.
    IniFile ini(Disk("[SoundFile]\r\n?\\é.png=1\r\n??.png=4\r\n"));
    EXPECT_EQ(ini.GetInt("SoundFile", "〜\\−.png", -1), 1);  // the minus sign U+2212
    EXPECT_EQ(ini.GetInt("SoundFile", "😀.png", -1), 4);      // two UTF-16 units
    ASSERT_TRUE(ini.SetString("SoundFile", "〜\\〜.png", "2"));
    EXPECT_EQ(ini.Bytes(), Disk("[SoundFile]\r\n?\\?.png=2\r\n??.png=4\r\n"));
    EXPECT_EQ(KeyForm(" 〜.PNG\t", TextEncoding::kCp932), "?.PNG");
    EXPECT_EQ(ValueForm(" '〜あか' ", TextEncoding::kCp932), "?あか");
    EXPECT_EQ(ValueForm(" '〜あか' ", TextEncoding::kUtf16Le), "〜あか");
}

TEST(IniFile, RefusesWhatTheLineFormCannotHold) {
    const std::string before = Disk("[s]\r\nk=1\r\n");
    IniFile ini(before);
    EXPECT_FALSE(ini.SetString("s", "k", "line\nbreak"));
    EXPECT_FALSE(ini.SetString("s", "a=b", "1"));
    EXPECT_FALSE(ini.SetString("s", " [cute] dog.png", "1"));
    EXPECT_FALSE(ini.SetString("s", "  ", "1"));
    EXPECT_FALSE(ini.SetString("", "k", "1"));
    EXPECT_FALSE(ini.SetString("s", "k", std::string("nul\0", 4)));
    EXPECT_EQ(ini.Bytes(), before);
    EXPECT_TRUE(IniFile::CanBeKey(" cute [dog].png"));
}

}  // namespace
}  // namespace zz
