// The settings store against Windows' own code page 932 conversion and private-profile
// functions: a file written by either side reads the same through the other.

#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "framework/scope_exit.h"
#include "framework/unicode.h"
#include "settings/codepage932.h"
#include "settings/ini_file.h"
#include "tests/support/temp_tree.h"

namespace zz {
namespace {

TEST(Cp932AgainstWindows, EveryByteDecodesAndEveryCharacterEncodesAsWindowsConvertsThem) {
    for (int first = 0; first < 256; ++first) {
        // Then each byte and a letter, to see how many bytes a lead byte takes.
        for (int trail = 0; trail < (IsDBCSLeadByteEx(932, static_cast<BYTE>(first)) ? 256 : 1);
             ++trail) {
            const std::string bytes{static_cast<char>(first), static_cast<char>(trail), 'A'};
            std::wstring wide(4, L'\0');
            wide.resize(
                static_cast<size_t>(MultiByteToWideChar(932, 0, bytes.data(), 3, wide.data(), 4)));
            ASSERT_EQ(Cp932ToUtf8(bytes), Narrow(wide)) << std::hex << first << " " << trail;
        }
    }
    // Without best fit: what Windows would only approximate counts as missing.
    for (int code = 1; code <= 0xFFFF; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF) {
            continue;  // half a character
        }
        const wchar_t unit = static_cast<wchar_t>(code);
        char expected[4] = {};
        BOOL usedDefault = FALSE;
        const int length = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &unit, 1, expected, 4,
                                               nullptr, &usedDefault);
        bool lossless = false;
        ASSERT_EQ(Utf8ToCp932(Narrow({&unit, 1}), &lossless),
                  std::string(expected, static_cast<size_t>(length)))
            << std::hex << code;
        ASSERT_EQ(lossless, !usedDefault) << std::hex << code;
    }
}

// Files as a person might edit them (blanks, quotes, comments, lines without "=", duplicate
// sections and keys, the three kinds of line end, double-byte names whose code page 932 trail
// bytes are backslashes or letters), then a value written by either side: every name reads the
// same through both, also as an integer, and the file keeps its encoding.
// The platform's wide profile functions read a file with a byte-order mark as Unicode and any
// other in the ANSI code page, and keep its encoding when they write.
TEST(ProfileCompat, RandomHandEditedFilesAndWhatEitherSideWritesReadTheSame) {
    test::TempTree tree;
    const std::wstring path = Widen(JoinPath(tree.Root(), "Zoomzap.ini"));
    // The platform caches a profile file; make it read the file afresh.
    const auto forget = [&] {
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
    };
    const ScopeExit forgetAtTheEnd(forget);
    const auto windowsRead = [&](const std::string& section, const std::string& key) {
        forget();
        wchar_t buffer[256] = {};
        const DWORD length = GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                                      L"<missing>", buffer, 256, path.c_str());
        return Narrow({buffer, length});
    };
    if (GetACP() == 932) {  // a name the code page cannot hold is written as the platform does
        forget();
        ASSERT_TRUE(WritePrivateProfileStringW(L"SoundFile", Widen("〜あか\\😀.png").c_str(), L"3",
                                               path.c_str()));
        IniFile store;
        ASSERT_TRUE(store.SetString("SoundFile", "〜あか\\😀.png", "3"));
        EXPECT_EQ(store.Bytes(), tree.Read("Zoomzap.ini"));
    }
    const std::vector<std::string> names = {"設定", "SoundFile", "soundfile", "表示",
                                            "ソ",   "a b",       "ア",        "ヂ",
                                            "key",  "KEY",       "能\\ソ.png"};
    const std::string longValue(300, 'x');  // more than the reader's buffer holds
    const std::vector<std::string> values = {
        "1",   " 2 ",  "\"q\"",       "' s '",      "\"half", "a=b", "表示", "", " ; not a comment",
        "-7x", "\"\"", "-2147483648", "2147483647", longValue};
    const std::vector<std::string> blanks = {"", " ", "\t", "  "};
    std::mt19937 random(20261207);
    const auto pick = [&](const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(random)];
    };
    // The ANSI side of the platform reads a code page 932 file only in the Japanese code page.
    std::vector<TextEncoding> encodings = {TextEncoding::kUtf16Le};
    if (GetACP() == 932) {
        encodings.push_back(TextEncoding::kCp932);
    }
    for (int round = 0; round < 60; ++round) {
        std::string text;
        for (int line = 0; line < 24; ++line) {
            const int kind = std::uniform_int_distribution<int>(0, 9)(random);
            text += kind < 2 ? pick(blanks) + "[" + pick(blanks) + pick(names) + pick(blanks) + "]"
                    : kind < 8 ? pick(blanks) + pick(names) + pick(blanks) + "=" + pick(values)
                    : kind < 9 ? "; " + pick(names) + "=" + pick(values)
                               : "メモ " + pick(values);  // a note without "="
            text += pick({"\r\n", "\n", "\r"});
        }
        for (const TextEncoding encoding : encodings) {
            tree.File("Zoomzap.ini",
                      std::string(ByteOrderMark(encoding)) + EncodeText(text, encoding));
            forget();
            ASSERT_TRUE(WritePrivateProfileStringW(Widen(pick(names)).c_str(),
                                                   Widen(pick(names)).c_str(),
                                                   Widen(pick(values)).c_str(), path.c_str()));
            IniFile store(tree.Read("Zoomzap.ini"));
            ASSERT_TRUE(store.SetString(pick(names), pick(names),
                                        pick(values) + (round % 2 ? "〜é😀" : "")));
            tree.File("Zoomzap.ini", store.Bytes());
            EXPECT_EQ(store.Encoding(), encoding);
            for (const std::string& section : names) {
                for (const std::string& key : names) {
                    ASSERT_EQ(store.GetString(section, key, "<missing>"), windowsRead(section, key))
                        << "[" << section << "] " << key << " in round " << round << ":\n"
                        << text;
                    ASSERT_EQ(store.GetInt(section, key, 77),
                              int(GetPrivateProfileIntW(Widen(section).c_str(), Widen(key).c_str(),
                                                        77, path.c_str())));
                }
            }
        }
    }
}

}  // namespace
}  // namespace zz
