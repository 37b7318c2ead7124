// The settings store against Windows' own code page 932 conversion and private-profile
// functions: a file written by either side reads the same through the other.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "settings/app_settings.h"
#include "settings/codepage932.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"

namespace zz {
namespace {

std::string Utf8Of(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    std::string utf8(
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), static_cast<int>(utf8.size()),
                          nullptr, nullptr);
    return utf8;
}

std::filesystem::path PathOf(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string WindowsDecode(const std::string& bytes) {
    std::wstring wide(bytes.size(), L'\0');
    const int length = ::MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()),
                                             wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(length));
    return Utf8Of(wide);
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
        const std::string encoded = Utf8ToCp932(Utf8Of({&wide, 1}), &lossless);
        ASSERT_EQ(encoded, std::string(expected, static_cast<std::size_t>(length)))
            << std::hex << unit;
        ASSERT_EQ(lossless, !usedDefault) << std::hex << unit;
    }
}

// A settings file in a fresh folder, reached both through the store and through the platform's
// ANSI profile functions. Names and values are UTF-8 here; the ANSI side gets code page 932.
class ProfileCompat : public ::testing::Test {
protected:
    ProfileCompat() {
        std::random_device random;
        m_folder =
            std::filesystem::temp_directory_path() / ("zz-profile-" + std::to_string(random()));
        std::filesystem::create_directories(m_folder);
        m_path = (m_folder / "Zoomzap.ini").string();
    }
    ~ProfileCompat() override {
        Forget();
        std::error_code ignored;  // a leftover temporary folder harms nothing
        std::filesystem::remove_all(m_folder, ignored);
    }

    static bool AnsiIs932() { return ::GetACP() == 932; }

    // The platform caches a profile file; make it read the file afresh.
    void Forget() const { ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_path.c_str()); }

    void WindowsWrite(std::string_view section, std::string_view key, std::string_view value) {
        Forget();
        ASSERT_TRUE(::WritePrivateProfileStringA(Utf8ToCp932(section).c_str(),
                                                 Utf8ToCp932(key).c_str(),
                                                 Utf8ToCp932(value).c_str(), m_path.c_str()));
        Forget();
    }
    std::string WindowsRead(std::string_view section, std::string_view key,
                            std::string_view def = "<missing>") const {
        Forget();
        char buffer[256] = {};
        ::GetPrivateProfileStringA(Utf8ToCp932(section).c_str(), Utf8ToCp932(key).c_str(),
                                   Utf8ToCp932(def).c_str(), buffer, sizeof buffer, m_path.c_str());
        return Cp932ToUtf8(buffer);
    }
    int WindowsReadInt(std::string_view section, std::string_view key, int def) const {
        Forget();
        return static_cast<int>(::GetPrivateProfileIntA(
            Utf8ToCp932(section).c_str(), Utf8ToCp932(key).c_str(), def, m_path.c_str()));
    }

    IniFile StoreFile() const {
        std::string bytes;
        SystemFileSystem().ReadFile(m_path, bytes);
        return IniFile(bytes);
    }
    std::string StoreRead(std::string_view section, std::string_view key) const {
        return StoreFile().GetString(section, key, "<missing>");
    }
    void StoreWrite(std::string_view section, std::string_view key, std::string_view value) {
        IniFile ini = StoreFile();
        ASSERT_TRUE(ini.SetString(section, key, value));
        ASSERT_TRUE(SystemFileSystem().ReplaceFile(m_path, ini.Bytes()));
    }
    std::string Folder() const { return m_folder.string(); }

    std::filesystem::path m_folder;
    std::string m_path;
};

const std::vector<std::string>& AwkwardValues() {
    static const std::vector<std::string> values = {
        "plain",  "  padded  ", "\"quoted\"",  "'single'",           "\" spaced quotes \"",
        "\"half", "-1",         "-2147483648", "2147483647",         "abc",
        "12abc",  "",           "a=b;c",       std::string(300, 'x')};
    return values;
}

TEST_F(ProfileCompat, AsciiValuesReadTheSameWhicheverSideWroteThem) {
    const auto& values = AwkwardValues();
    for (std::size_t i = 0; i < values.size(); ++i) {
        WindowsWrite("Other", "w" + std::to_string(i), values[i]);
        StoreWrite("Other", "s" + std::to_string(i), values[i]);
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        for (const std::string& key : {"w" + std::to_string(i), "s" + std::to_string(i)}) {
            EXPECT_EQ(StoreRead("Other", key), WindowsRead("Other", key)) << key;
            EXPECT_EQ(StoreFile().GetInt("Other", key, 77), WindowsReadInt("Other", key, 77))
                << key;
        }
    }
    EXPECT_EQ(StoreRead("Other", "w13"), std::string(255, 'x'));
}

TEST_F(ProfileCompat, IntegersAndNamesInAnyCaseAcrossBothSides) {
    CAppSettings store(Folder());
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

TEST_F(ProfileCompat, ASettingsFileWrittenByWindowsLoadsAsWindowsReadsIt) {
    if (!AnsiIs932()) {
        GTEST_SKIP() << "needs the Japanese ANSI code page (LC_ALL=ja_JP.UTF-8)";
    }
    const std::string_view section = keys::kSettingsSection;
    WindowsWrite(section, keys::kTitle, "  ソ表示のおもちゃ  ");
    WindowsWrite(section, keys::kGrowth, "-5");
    WindowsWrite(section, keys::kSpeed, " 20 ");
    WindowsWrite(section, keys::kMaxZoom, "abc");
    WindowsWrite(section, keys::kRotation, "1");
    WindowsWrite(section, keys::kStartMode, "\"1\"");
    WindowsWrite(section, keys::kMouse, "12abc");
    WindowsWrite(section, keys::kSound, "");
    WindowsWrite(section, keys::kMaxMedia, "-1");
    WindowsWrite(section, keys::kDisplayOrder, "1");
    WindowsWrite(section, keys::kGroup, "表示");
    const std::vector<std::string> names = {"表示\\ソ.png", "能\\'a'.jpg", "\"q\".bmp"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        WindowsWrite(section, "画像ファイル名" + std::to_string(i), names[i]);
    }
    WindowsWrite(section, "画像ファイル名3", "");
    WindowsWrite(section, "画像ファイル名4", "stale.png");

    CAppSettings store(Folder());
    store.Load();
    EXPECT_EQ(store.m_strTitle, WindowsRead(section, keys::kTitle, keys::kDefaultTitle));
    EXPECT_EQ(store.m_strTitle, "ソ表示のおもちゃ");
    // Each with the default Load uses for it.
    const struct {
        std::string_view key;
        int loaded;
        int def;
    } numbers[] = {{keys::kGrowth, store.m_nGrowth, 10},
                   {keys::kSpeed, store.m_nSpeed, 1},
                   {keys::kMaxZoom, store.m_nMaxZoom, 100},
                   {keys::kRotation, store.m_nRotation, 0},
                   {keys::kStartMode, store.m_nStartMode, 0},
                   {keys::kMouse, store.m_nMouse, 0},
                   {keys::kSound, store.m_nSound, 0},
                   {keys::kMaxMedia, store.m_nMaxMedia, 0},
                   {keys::kDisplayOrder, store.m_nDisplayOrder, 0}};
    for (const auto& number : numbers) {
        EXPECT_EQ(number.loaded, WindowsReadInt(section, number.key, number.def)) << number.key;
    }
    EXPECT_EQ(store.m_nGrowth, -5);
    EXPECT_EQ(store.m_nSpeed, 20);
    EXPECT_EQ(store.m_nStartMode, 1);
    EXPECT_EQ(store.m_nMouse, 12);
    EXPECT_EQ(store.m_nMaxMedia, -1);
    EXPECT_EQ(store.m_strGroup, WindowsRead(section, keys::kGroup, ""));
    ASSERT_EQ(store.m_pictureOrder.size(), 3u);
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(store.m_pictureOrder[i],
                  WindowsRead(section, "画像ファイル名" + std::to_string(i)));
    }
    EXPECT_EQ(store.m_pictureOrder[0], "表示\\ソ.png");
}

TEST_F(ProfileCompat, ASavedRecordReadsBackThroughWindows) {
    if (!AnsiIs932()) {
        GTEST_SKIP() << "needs the Japanese ANSI code page (LC_ALL=ja_JP.UTF-8)";
    }
    CAppSettings store(Folder());
    store.Load();
    store.m_strTitle = "表示ソ能";
    store.m_nGrowth = -25;
    store.m_nSpeed = INT_MAX;
    store.m_nMaxZoom = INT_MIN;
    store.m_nMouse = 1;
    store.m_nMaxMedia = 1;
    store.m_strGroup = std::string(keys::kGroupChooseAtStart);
    store.m_pictureOrder = {"表示\\ソ.png", "b.png"};
    ASSERT_TRUE(store.Save());
    ASSERT_TRUE(store.WriteInt(keys::kSoundFileSection, "表示\\ソ.png", -1));

    const std::string_view section = keys::kSettingsSection;
    EXPECT_EQ(WindowsRead(section, keys::kTitle), "表示ソ能");
    EXPECT_EQ(WindowsReadInt(section, keys::kGrowth, 0), -25);
    EXPECT_EQ(WindowsReadInt(section, keys::kSpeed, 0), INT_MAX);
    EXPECT_EQ(WindowsReadInt(section, keys::kMaxZoom, 0), INT_MIN);
    EXPECT_EQ(WindowsReadInt(section, keys::kMouse, 0), 1);
    EXPECT_EQ(WindowsReadInt(section, keys::kRotation, 9), 0);
    EXPECT_EQ(WindowsRead(section, keys::kGroup), "起動時に選択");
    EXPECT_EQ(WindowsRead(section, "画像ファイル名0"), "表示\\ソ.png");
    EXPECT_EQ(WindowsRead(section, "画像ファイル名1"), "b.png");
    EXPECT_EQ(WindowsRead(section, "画像ファイル名2"), "");
    EXPECT_EQ(WindowsReadInt(keys::kSoundFileSection, "表示\\ソ.png", 5), -1);

    // Windows changes one key; the store sees it and everything else as it was.
    WindowsWrite(section, keys::kSpeed, "40");
    WindowsWrite(keys::kSoundFileSection, "能.png", "2");
    CAppSettings again(Folder());
    again.Load();
    EXPECT_EQ(again.m_nSpeed, 40);
    EXPECT_EQ(again.m_strTitle, "表示ソ能");
    EXPECT_EQ(again.m_pictureOrder, store.m_pictureOrder);
    EXPECT_EQ(again.ReadInt(keys::kSoundFileSection, "能.png", -1), 2);
    EXPECT_EQ(again.ReadInt(keys::kSoundFileSection, "表示\\ソ.png", 5), -1);
}

TEST_F(ProfileCompat, LongJapaneseValuesAreCutAtACharacterBoundary) {
    if (!AnsiIs932()) {
        GTEST_SKIP() << "needs the Japanese ANSI code page (LC_ALL=ja_JP.UTF-8)";
    }
    std::string value;
    for (int i = 0; i < 150; ++i) {
        value += "表";  // 300 bytes on disk, 0x5C in every second byte
    }
    WindowsWrite(keys::kSettingsSection, keys::kTitle, value);
    CAppSettings store(Folder());
    store.Load();
    const std::string expected = value.substr(0, 127 * std::string("表").size());
    EXPECT_EQ(store.m_strTitle, expected);
    // Windows agrees on every whole character it returns.
    EXPECT_EQ(WindowsRead(keys::kSettingsSection, keys::kTitle).substr(0, expected.size()),
              expected);
}

// A settings file held open by another program without delete sharing cannot be replaced.
TEST_F(ProfileCompat, ASaveOverALockedFileFailsAndChangesNothing) {
    WindowsWrite("Other", "keep", "1");
    const std::wstring path = std::filesystem::path(m_path).wstring();
    const HANDLE lock = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    std::string before;
    ASSERT_TRUE(SystemFileSystem().ReadFile(m_path, before));
    CAppSettings store(Folder());
    store.Load();
    EXPECT_FALSE(store.Save());
    EXPECT_FALSE(store.WriteInt(keys::kSoundFileSection, "a.png", 1));
    ::CloseHandle(lock);
    std::string after;
    ASSERT_TRUE(SystemFileSystem().ReadFile(m_path, after));
    EXPECT_EQ(after, before);
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(SystemFileSystem().ListFolder(Folder(), entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "Zoomzap.ini");
    EXPECT_TRUE(store.Save());
}

TEST(Win32FileSystem, JapaneseNamesAndTheProgramFolder) {
    const std::string program = ProgramFolder();
    EXPECT_NE(::GetFileAttributesW(PathOf(JoinPath(program, "win_tests.exe")).c_str()),
              INVALID_FILE_ATTRIBUTES)
        << program;

    std::random_device random;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / PathOf("zz-表示ソ-" + std::to_string(random()));
    ASSERT_TRUE(std::filesystem::create_directories(folder / PathOf("能の子")));
    const std::u8string folderName = folder.u8string();
    const std::string utf8Folder(folderName.begin(), folderName.end());
    const std::string file = JoinPath(utf8Folder, "ソ.ini");
    ASSERT_TRUE(SystemFileSystem().ReplaceFile(file, "first"));
    ASSERT_TRUE(SystemFileSystem().ReplaceFile(file, "second"));
    std::string bytes;
    ASSERT_TRUE(SystemFileSystem().ReadFile(file, bytes));
    EXPECT_EQ(bytes, "second");
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(SystemFileSystem().ListFolder(utf8Folder, entries));
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "ソ.ini");
    EXPECT_FALSE(entries[0].isFolder);
    EXPECT_EQ(entries[1].name, "能の子");
    EXPECT_TRUE(entries[1].isFolder);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace
}  // namespace zz
