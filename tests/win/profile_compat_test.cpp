// The settings store against Windows' own code page 932 conversion and private-profile
// functions: a file written by either side reads the same through the other.

#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "framework/unicode.h"
#include "settings/app_settings.h"
#include "settings/codepage932.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "settings/text_encoding.h"

namespace zz {
namespace {

std::string WindowsDecode(const std::string& bytes) {
    std::wstring wide(bytes.size(), L'\0');
    const int length = ::MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()),
                                             wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(length));
    return Narrow(wide);
}

TEST(Cp932AgainstWindows, EveryByteSequenceDecodesAsMultiByteToWideChar) {
    for (int first = 0; first < 256; ++first) {
        const std::string single(1, static_cast<char>(first));
        ASSERT_EQ(Cp932ToUtf8(single), WindowsDecode(single)) << std::hex << first;
        if (!::IsDBCSLeadByteEx(932, static_cast<BYTE>(first))) {
            continue;
        }
        for (int trail = 0; trail < 256; ++trail) {
            // Followed by a letter, to see how many bytes the lead byte took.
            const std::string pair{static_cast<char>(first), static_cast<char>(trail), 'A'};
            ASSERT_EQ(Cp932ToUtf8(pair), WindowsDecode(pair)) << std::hex << first << trail;
        }
    }
}

// Without best fit: what Windows would only approximate counts as missing.
TEST(Cp932AgainstWindows, EveryCharacterEncodesAsWideCharToMultiByte) {
    for (int unit = 0; unit <= 0xFFFF; ++unit) {
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            continue;
        }
        const wchar_t wide = static_cast<wchar_t>(unit);
        char expected[4] = {};
        BOOL usedDefault = FALSE;
        const int length = ::WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &wide, 1, expected,
                                                 sizeof expected, nullptr, &usedDefault);
        bool lossless = false;
        const std::string encoded = Utf8ToCp932(Narrow({&wide, 1}), &lossless);
        ASSERT_EQ(encoded, std::string(expected, static_cast<std::size_t>(length)))
            << std::hex << unit;
        ASSERT_EQ(lossless, !usedDefault) << std::hex << unit;
    }
}

// A settings file in a fresh folder, reached both through the store and through the platform's
// profile functions. Names and values are UTF-8 here; the ANSI side gets code page 932.
class ProfileCompat : public ::testing::Test {
protected:
    ProfileCompat() { std::filesystem::create_directories(m_folder); }
    ~ProfileCompat() override {
        Forget();
        std::error_code ignored;  // a leftover temporary folder harms nothing
        std::filesystem::remove_all(m_folder, ignored);
    }

    // The platform caches a profile file; make it read the file afresh.
    void Forget() const { ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_path.c_str()); }

    void WindowsWrite(std::string_view section, std::string_view key, std::string_view value) {
        Forget();
        ASSERT_TRUE(::WritePrivateProfileStringA(Utf8ToCp932(section).c_str(),
                                                 Utf8ToCp932(key).c_str(),
                                                 Utf8ToCp932(value).c_str(), m_path.c_str()));
        Forget();
    }
    std::string WindowsRead(std::string_view section, std::string_view key) const {
        Forget();
        char buffer[256] = {};
        ::GetPrivateProfileStringA(Utf8ToCp932(section).c_str(), Utf8ToCp932(key).c_str(),
                                   "<missing>", buffer, sizeof buffer, m_path.c_str());
        return Cp932ToUtf8(buffer);
    }
    int WindowsReadInt(std::string_view section, std::string_view key, int def) const {
        Forget();
        return static_cast<int>(::GetPrivateProfileIntA(
            Utf8ToCp932(section).c_str(), Utf8ToCp932(key).c_str(), def, m_path.c_str()));
    }

    // The wide functions, which read a Unicode file as Unicode and any other in the ANSI code
    // page, and keep the file's encoding when they write.
    void WindowsWriteW(std::string_view section, std::string_view key, std::string_view value) {
        Forget();
        ASSERT_TRUE(::WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                                 Widen(value).c_str(), Widen(m_path).c_str()));
        Forget();
    }
    std::string WindowsReadW(std::string_view section, std::string_view key) const {
        Forget();
        wchar_t buffer[256] = {};
        const DWORD length =
            ::GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"<missing>",
                                       buffer, 256, Widen(m_path).c_str());
        return Narrow({buffer, length});
    }
    std::string FileBytes() const {
        std::string bytes;
        SystemFileSystem().ReadFile(m_path, bytes);
        return bytes;
    }
    void WriteBytes(std::string_view bytes) {
        ASSERT_TRUE(SystemFileSystem().ReplaceFile(m_path, bytes));
        Forget();
    }

    IniFile StoreFile() const {
        std::string bytes;
        SystemFileSystem().ReadFile(m_path, bytes);
        return IniFile(bytes);
    }
    void StoreWrite(std::string_view section, std::string_view key, std::string_view value) {
        IniFile ini = StoreFile();
        ASSERT_TRUE(ini.SetString(section, key, value));
        ASSERT_TRUE(SystemFileSystem().ReplaceFile(m_path, ini.Bytes()));
    }

    const std::filesystem::path m_folder = std::filesystem::temp_directory_path() /
                                           ("zz-profile-" + std::to_string(std::random_device()()));
    const std::string m_path = (m_folder / "Zoomzap.ini").string();
};

TEST_F(ProfileCompat, AsciiValuesReadTheSameWhicheverSideWroteThem) {
    const std::vector<std::string> values = {
        "plain",  "  padded  ", "\"quoted\"",  "'single'",           "\" spaced quotes \"",
        "\"half", "-1",         "-2147483648", "2147483647",         "abc",
        "12abc",  "",           "a=b;c",       std::string(300, 'x')};
    for (std::size_t i = 0; i < values.size(); ++i) {
        WindowsWrite("Other", "w" + std::to_string(i), values[i]);
        StoreWrite("Other", "s" + std::to_string(i), values[i]);
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        for (const std::string& key : {"w" + std::to_string(i), "s" + std::to_string(i)}) {
            EXPECT_EQ(StoreFile().GetString("Other", key, "<missing>"), WindowsRead("Other", key))
                << key;
            EXPECT_EQ(StoreFile().GetInt("Other", key, 77), WindowsReadInt("Other", key, 77))
                << key;
        }
    }
    EXPECT_EQ(WindowsRead("Other", "w13"), std::string(255, 'x'));  // cut as the platform cuts it
}

TEST_F(ProfileCompat, IntegersAndNamesInAnyCaseAcrossBothSides) {
    CAppSettings store(m_folder.string());
    WindowsWrite("soundfile", "Animals\\DOG.png", "3");
    EXPECT_EQ(store.ReadInt("SoundFile", "animals\\dog.PNG", -1), 3);
    for (const int value : {-1, 0, 7, INT_MIN, INT_MAX}) {
        ASSERT_TRUE(store.WriteInt("SOUNDFILE", "cat.png", value));
        EXPECT_EQ(WindowsReadInt("SoundFile", "CAT.PNG", 99), value);
    }
    EXPECT_EQ(WindowsReadInt("SoundFile", "animals\\dog.png", -1), 3);
    EXPECT_EQ(store.ReadInt("SoundFile", "missing.png", -1), -1);
    EXPECT_EQ(WindowsReadInt("SoundFile", "missing.png", -1), -1);
}

TEST_F(ProfileCompat, LongJapaneseValuesAreCutAtACharacterBoundary) {
    if (::GetACP() != 932) {
        GTEST_SKIP() << "needs the Japanese ANSI code page (LC_ALL=ja_JP.UTF-8)";
    }
    std::string value;
    for (int i = 0; i < 150; ++i) {
        value += "表";  // 300 bytes on disk, 0x5C in every second byte
    }
    WindowsWrite(keys::kSettingsSection, keys::kTitle, value);
    CAppSettings store(m_folder.string());
    store.Load();
    const std::string expected = value.substr(0, 127 * std::string("表").size());
    EXPECT_EQ(store.m_strTitle, expected);
    // Windows agrees on every whole character it returns.
    EXPECT_EQ(WindowsRead(keys::kSettingsSection, keys::kTitle).substr(0, expected.size()),
              expected);
}

TEST_F(ProfileCompat, UnicodeFilesReadAndWriteTheSameOnBothSidesAndStayUnicode) {
    const std::string bom = "\xFF\xFE";
    WriteBytes(bom + EncodeText("[ 設定 ]\rタイトル= \"ずーむ〜é😀\" \r\n[soundfile]\n"
                                "〜あか\\r.png=3\r\n",
                                TextEncoding::kUtf16Le));
    for (const auto& [section, key] :
         {std::pair{"設定", "タイトル"}, {"SoundFile", "〜あか\\r.png"}}) {
        EXPECT_EQ(StoreFile().GetString(section, key, "<missing>"), WindowsReadW(section, key))
            << key;
    }
    StoreWrite("SoundFile", "é.png", "1");
    StoreWrite("新しい", "キー", "〜");
    EXPECT_EQ(WindowsReadW("SoundFile", "é.png"), "1");
    EXPECT_EQ(WindowsReadW("新しい", "キー"), "〜");
    WindowsWriteW("SoundFile", "😀.png", "2");
    EXPECT_EQ(StoreFile().GetInt("SoundFile", "😀.png", -1), 2);
    EXPECT_EQ(StoreFile().GetString("設定", "タイトル", ""), "ずーむ〜é😀");
    // Either side keeps the encoding, so the other still reads everything.
    EXPECT_EQ(StoreFile().Encoding(), TextEncoding::kUtf16Le);
    EXPECT_TRUE(FileBytes().starts_with(bom));
    EXPECT_EQ(WindowsReadW("SoundFile", "é.png"), "1");
}

TEST_F(ProfileCompat, NamesTheCodePageCannotHoldAreWrittenAsThePlatformWritesThem) {
    if (::GetACP() != 932) {
        GTEST_SKIP() << "needs the Japanese ANSI code page (LC_ALL=ja_JP.UTF-8)";
    }
    // (The platform writes some characters as look-alikes, é as e and ¥ as a backslash; the
    // store writes '?' for them, so that no name turns into a path separator.)
    WindowsWriteW("SoundFile", "〜あか\\😀.png", "3");
    const std::string platform = FileBytes();
    std::filesystem::remove(m_path);
    StoreWrite("SoundFile", "〜あか\\😀.png", "3");
    EXPECT_EQ(FileBytes(), platform);
    // The platform cannot find it again by its own name, only by the form it wrote; the store
    // finds it by either.
    EXPECT_EQ(WindowsReadW("SoundFile", "〜あか\\😀.png"), "<missing>");
    EXPECT_EQ(WindowsReadW("SoundFile", "?あか\\??.png"), "3");
    EXPECT_EQ(StoreFile().GetString("SoundFile", "〜あか\\😀.png", ""), "3");
    EXPECT_EQ(StoreFile().GetString("SoundFile", "?あか\\??.png", ""), "3");
}

// A file as a person might edit it: blanks, quotes, comments, lines without "=", duplicate
// sections and keys, the three kinds of line end, and names with double-byte characters,
// some of whose code page 932 trail bytes are backslashes or letters.
struct HandEditedFile {
    std::string text;
    std::vector<std::string> sections;
    std::vector<std::string> keys;
};

HandEditedFile RandomFile(std::mt19937& random) {
    const std::vector<std::string> names = {"設定", "SoundFile", "soundfile",  "表示",
                                            "ソ",   "a b",       "ア",         "ヂ",
                                            "key",  "KEY",       "能\\ソ.png", "x"};
    const std::vector<std::string> values = {
        "1",   " 2 ", "\"q\"", "' s '", "\"half", "a=b", "表示", "", " ; not a comment",
        "-7x", "\"\""};
    const std::vector<std::string> ends = {"\r\n", "\n", "\r"};
    const std::vector<std::string> blanks = {"", " ", "\t", "  "};
    auto pick = [&](const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    HandEditedFile file;
    for (int line = 0; line < 24; ++line) {
        const int kind = std::uniform_int_distribution<int>(0, 9)(random);
        std::string text;
        if (kind < 2) {
            const std::string name = pick(names);
            text = pick(blanks) + "[" + pick(blanks) + name + pick(blanks) + "]" + pick(blanks);
            file.sections.push_back(name);
        } else if (kind < 8) {
            const std::string name = pick(names);
            text = pick(blanks) + name + pick(blanks) + "=" + pick(blanks) + pick(values);
            file.keys.push_back(name);
        } else if (kind == 8) {
            text = "; " + pick(names) + "=" + pick(values);
        } else {
            text = pick(blanks) + "メモ " + pick(values);  // notes without "="
        }
        file.text += text + pick(ends);
    }
    file.sections.push_back("missing");
    file.keys.push_back("missing");
    return file;
}

TEST_F(ProfileCompat, RandomHandEditedFilesReadAsThePlatformReadsThem) {
    std::vector<TextEncoding> encodings = {TextEncoding::kUtf16Le};
    if (::GetACP() == 932) {
        encodings.push_back(TextEncoding::kCp932);  // the ANSI side needs the Japanese code page
    }
    std::mt19937 random(20261207);
    for (int round = 0; round < 60; ++round) {
        const HandEditedFile file = RandomFile(random);
        for (const TextEncoding encoding : encodings) {
            WriteBytes(std::string(ByteOrderMark(encoding)) + EncodeText(file.text, encoding));
            const IniFile store = StoreFile();
            for (const std::string& section : file.sections) {
                for (const std::string& key : file.keys) {
                    ASSERT_EQ(store.GetString(section, key, "<missing>"),
                              WindowsReadW(section, key))
                        << "[" << section << "] " << key << " in round " << round << ", encoding "
                        << static_cast<int>(encoding) << ":\n"
                        << file.text;
                }
            }
        }
    }
}

}  // namespace
}  // namespace zz
