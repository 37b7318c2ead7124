#include "settings/app_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "settings/codepage932.h"
#include "settings/settings_keys.h"

namespace zz {
namespace {

namespace stdfs = std::filesystem;

std::string Utf8(const stdfs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string Disk(std::string_view utf8) {
    return Utf8ToCp932(utf8);
}

std::vector<std::string> Names(std::string_view prefix, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        names.push_back(std::string(prefix) + std::to_string(i) + ".png");
    }
    return names;
}

// A program folder of its own for each test, with Japanese whose Shift-JIS holds 0x5C.
class AppSettingsTest : public ::testing::Test {
protected:
    AppSettingsTest() {
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_folder = stdfs::temp_directory_path() /
                   (u8"zz-設定ソ表示-" +
                    stdfs::path(test + "-" + std::to_string(std::random_device()())).u8string());
        stdfs::create_directories(m_folder);
    }
    ~AppSettingsTest() override {
        std::error_code ignored;  // a leftover temporary folder harms nothing
        stdfs::remove_all(m_folder, ignored);
    }

    std::string Folder() const { return Utf8(m_folder); }
    stdfs::path IniPath() const { return m_folder / "Zoomzap.ini"; }

    std::string FileBytes() const {
        std::ifstream in(IniPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void WriteFileBytes(const std::string& bytes) const {
        std::ofstream(IniPath(), std::ios::binary) << bytes;
    }
    std::set<std::string> FolderContent() const {
        std::set<std::string> names;
        for (const auto& entry : stdfs::directory_iterator(m_folder)) {
            names.insert(Utf8(entry.path().filename()));
        }
        return names;
    }

    stdfs::path m_folder;
};

TEST_F(AppSettingsTest, WithoutAFileLoadGivesTheDefaultsAndTheFirstSaveWritesThemInOrder) {
    CAppSettings settings(Folder());
    settings.Load();
    EXPECT_TRUE(FolderContent().empty());
    EXPECT_EQ(settings.MaxMediaCount(), 10);
    EXPECT_EQ(settings.ReadInt(keys::kSoundFileSection, "a.png", -1), -1);
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(FileBytes(), Disk("[設定]\r\n"
                                "タイトル=ずーむざっぷ\r\n"
                                "一回に広がる大きさ=10\r\n"
                                "速さ=1\r\n"
                                "最大画像拡大率=100\r\n"
                                "回転=0\r\n"
                                "初期表示=0\r\n"
                                "マウス操作=0\r\n"
                                "音声=0\r\n"
                                "最大画像数=0\r\n"
                                "表示=0\r\n"
                                "グループ=\r\n"
                                "画像ファイル名0=\r\n"));
    EXPECT_EQ(FolderContent(), std::set<std::string>{"Zoomzap.ini"});
}

TEST_F(AppSettingsTest, PictureOrderIsBoundedAndEndsAtTheFirstEmptyKey) {
    CAppSettings settings(Folder());
    settings.Load();
    settings.m_pictureOrder = Names("p", 12);
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(FileBytes().find(Disk("画像ファイル名11")), std::string::npos);
    settings.Load();
    EXPECT_EQ(settings.m_pictureOrder, Names("p", 10));

    // A shorter list later leaves the old higher keys behind, but its terminator ends it.
    settings.m_pictureOrder = Names("r", 3);
    ASSERT_TRUE(settings.Save());
    EXPECT_NE(FileBytes().find(Disk("画像ファイル名4=p4.png\r\n")), std::string::npos);
    settings.Load();
    EXPECT_EQ(settings.m_pictureOrder, Names("r", 3));

    // Any non-zero maximum-media value lifts the bound to 100, for reading too.
    settings.m_nMaxMedia = 5;
    settings.m_pictureOrder = Names("s", 101);
    ASSERT_TRUE(settings.Save());
    settings.Load();
    EXPECT_EQ(settings.m_pictureOrder, Names("s", 100));
    ASSERT_TRUE(settings.WriteInt(keys::kSettingsSection, keys::kMaxMedia, 0));
    settings.Load();
    EXPECT_EQ(settings.m_pictureOrder, Names("s", 10));
}

TEST_F(AppSettingsTest, IntegersInAnySectionAndEveryReadSeesEveryWrite) {
    CAppSettings writer(Folder());
    CAppSettings reader(Folder());
    ASSERT_TRUE(writer.WriteInt(keys::kSoundFileSection, "表示\\ソ.png", 7));
    EXPECT_EQ(reader.ReadInt("soundfile", "表示\\ソ.png", -1), 7);

    // A Save writes the record and leaves the sound map alone; the last Save wins. 表示\\ソ holds
    // 0x5C bytes in code page 932.
    reader.Load();
    reader.m_nSpeed = 30;
    ASSERT_TRUE(reader.Save());
    ASSERT_TRUE(writer.WriteInt(keys::kSoundFileSection, "animals\\dog.png", 2));
    writer.Load();
    EXPECT_EQ(writer.m_nSpeed, 30);
    EXPECT_EQ(writer.ReadInt(keys::kSoundFileSection, "表示\\ソ.png", -1), 7);
    EXPECT_EQ(reader.ReadInt(keys::kSoundFileSection, "Animals\\Dog.png", -1), 2);

    // Several integers in one save, or none when one key cannot be a name.
    const std::string before = FileBytes();
    EXPECT_FALSE(writer.WriteInts(keys::kSoundFileSection, {{"a.png", 1}, {"b=c.png", 2}}));
    EXPECT_EQ(FileBytes(), before);
    ASSERT_TRUE(writer.WriteInts(keys::kSoundFileSection, {{"a.png", 1}, {"表示\\ソ.png", 3}}));
    EXPECT_EQ(reader.ReadInt(keys::kSoundFileSection, "a.png", -1), 1);
    EXPECT_EQ(reader.ReadInt(keys::kSoundFileSection, "表示\\ソ.png", -1), 3);
}

TEST_F(AppSettingsTest, AUnicodeFileIsReadAndSavedInItsOwnEncoding) {
    WriteFileBytes("\xFF\xFE" + EncodeText("[設定]\r\nタイトル=ずーむ〜\r\nグループ=〜あか\r\n",
                                           TextEncoding::kUtf16Le));
    CAppSettings settings(Folder());
    settings.Load();
    EXPECT_EQ(settings.m_encoding, TextEncoding::kUtf16Le);
    EXPECT_EQ(std::tuple(settings.m_strTitle, settings.m_strGroup),
              std::tuple("ずーむ〜", "〜あか"));
    settings.m_pictureOrder = {"〜あか\\é.png"};
    ASSERT_TRUE(settings.Save());
    // Only UTF-16: decoding and encoding again gives every byte, and everything reads back.
    const std::string saved = FileBytes().substr(2);
    EXPECT_EQ(EncodeText(DecodeText(saved, TextEncoding::kUtf16Le), TextEncoding::kUtf16Le), saved);
    CAppSettings again(Folder());
    again.Load();
    EXPECT_EQ(std::tuple(again.m_strTitle, again.m_pictureOrder),
              std::tuple(settings.m_strTitle, settings.m_pictureOrder));
}

TEST_F(AppSettingsTest, ADamagedFileGivesDefaultsForTheDamagedKeysOnly) {
    std::string damaged("\x00\x01\xFF\xFE garbage\r\n", 14);
    damaged += Disk(
        "[設定]\r\n"
        "タイトル=  \"\r\n"
        "一回に広がる大きさ=25\r\n"
        "速さ=fast\r\n"
        "最大画像拡大率\r\n"
        "回転=1\r\n");
    damaged += Disk("初期表示=1") + std::string("\0\0\0\r\n", 5);
    damaged += Disk("グループ=動物\r\n画像ファイル名0=");
    damaged += "\x81";
    WriteFileBytes(damaged);
    CAppSettings settings(Folder());
    settings.Load();
    EXPECT_EQ(settings.m_strTitle, "\"");
    EXPECT_EQ(settings.m_nGrowth, 25);
    EXPECT_EQ(settings.m_nSpeed, 0);
    EXPECT_EQ(settings.m_nMaxZoom, 100);
    EXPECT_EQ(settings.m_nRotation, 1);
    EXPECT_EQ(settings.m_nStartMode, 1);
    EXPECT_EQ(settings.m_strGroup, "動物");
    EXPECT_EQ(settings.m_pictureOrder, std::vector<std::string>{"・"});
}

TEST_F(AppSettingsTest, AFailedWriteIsReportedAndLeavesNothingBehind) {
    // The settings file's name taken by a folder: nothing can be read or replaced.
    stdfs::create_directory(IniPath());
    CAppSettings settings(Folder());
    settings.Load();
    EXPECT_EQ(settings.m_nGrowth, 10);
    EXPECT_FALSE(settings.Save());
    EXPECT_FALSE(settings.WriteInt(keys::kSoundFileSection, "a.png", 1));
    EXPECT_TRUE(stdfs::is_directory(IniPath()));
    EXPECT_EQ(FolderContent(), std::set<std::string>{"Zoomzap.ini"});

    // The program folder gone.
    CAppSettings gone(Utf8(m_folder / "missing"));
    gone.Load();
    EXPECT_FALSE(gone.Save());
    EXPECT_FALSE(gone.WriteInt(keys::kSoundFileSection, "a.png", 1));
    EXPECT_FALSE(stdfs::exists(m_folder / "missing"));
}

// A file that is there but cannot be read (locked, no rights), which tests running with every
// right cannot make on disk.
class UnreadableFileSystem final : public IFileSystem {
public:
    bool ReadFile(const std::string&, std::string&) const override { return false; }
    bool ReplaceFile(const std::string&, std::string_view) override {
        ++m_nReplaced;
        return true;
    }
    bool ListFolder(const std::string&, std::vector<FolderEntry>& entries) const override {
        entries = {{"ZOOMZAP.INI", false}};
        return true;
    }
    int m_nReplaced = 0;
};

TEST(AppSettings, AFileThatCannotBeReadIsNeverWrittenOver) {
    UnreadableFileSystem fs;
    CAppSettings settings("program", fs);
    settings.Load();
    EXPECT_EQ(settings.m_nMaxZoom, 100);
    EXPECT_FALSE(settings.Save());
    EXPECT_FALSE(settings.WriteInt(keys::kSoundFileSection, "a.png", 1));
    EXPECT_EQ(settings.ReadInt(keys::kSoundFileSection, "a.png", -1), -1);
    EXPECT_EQ(fs.m_nReplaced, 0);
}

}  // namespace
}  // namespace zz
