#include "settings/app_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
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

stdfs::path PathOf(std::string_view utf8) {
    return stdfs::path(std::u8string(utf8.begin(), utf8.end()));
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
        std::random_device random;
        m_folder = stdfs::temp_directory_path() /
                   PathOf("zz-設定ソ表示-" + test + "-" + std::to_string(random()));
        stdfs::create_directories(m_folder);
    }
    ~AppSettingsTest() override {
        std::error_code ignored;  // a leftover temporary folder harms nothing
        stdfs::permissions(m_folder, stdfs::perms::owner_all, stdfs::perm_options::add, ignored);
        stdfs::permissions(IniPath(), stdfs::perms::owner_write, stdfs::perm_options::add, ignored);
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

TEST_F(AppSettingsTest, WithoutAFileLoadGivesTheDefaultsAndCreatesNothing) {
    CAppSettings settings(Folder());
    EXPECT_EQ(settings.m_strIniPath, JoinPath(Folder(), "Zoomzap.ini"));
    // Constructed, not loaded: zeros and empty strings.
    EXPECT_EQ(settings.m_strTitle, "");
    EXPECT_EQ(settings.m_nGrowth, 0);
    EXPECT_EQ(settings.m_nSpeed, 0);
    EXPECT_EQ(settings.m_nMaxZoom, 0);

    settings.Load();
    EXPECT_EQ(settings.m_strTitle, "ずーむざっぷ");
    EXPECT_EQ(settings.m_nGrowth, 10);
    EXPECT_EQ(settings.m_nSpeed, 1);
    EXPECT_EQ(settings.m_nMaxZoom, 100);
    for (const int flag : {settings.m_nRotation, settings.m_nStartMode, settings.m_nMouse,
                           settings.m_nSound, settings.m_nMaxMedia, settings.m_nDisplayOrder}) {
        EXPECT_EQ(flag, 0);
    }
    EXPECT_EQ(settings.m_strGroup, "");
    EXPECT_TRUE(settings.m_pictureOrder.empty());
    EXPECT_EQ(settings.MaxMediaCount(), 10);
    EXPECT_EQ(settings.ReadInt(keys::kSoundFileSection, "a.png", -1), -1);
    EXPECT_TRUE(FolderContent().empty());
}

TEST_F(AppSettingsTest, TheFirstSaveWritesTheWholeRecordInOrder) {
    CAppSettings settings(Folder());
    settings.Load();
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

TEST_F(AppSettingsTest, SaveAndLoadGiveBackEveryValue) {
    CAppSettings saved(Folder());
    saved.Load();
    saved.m_strTitle = "ソ表示のおもちゃ";
    saved.m_nGrowth = 25;
    saved.m_nSpeed = -1;
    saved.m_nMaxZoom = 2147483647;
    saved.m_nRotation = 1;
    saved.m_nStartMode = 1;
    saved.m_nMouse = 1;
    saved.m_nSound = 1;
    saved.m_nMaxMedia = 1;
    saved.m_nDisplayOrder = 1;
    saved.m_strGroup = std::string(keys::kGroupChooseAtStart);
    saved.m_pictureOrder = {"animals\\dog.png", "表示\\ソ.jpg", "x.bmp"};
    ASSERT_TRUE(saved.Save());

    CAppSettings loaded(Folder());
    loaded.Load();
    EXPECT_EQ(loaded.m_strTitle, saved.m_strTitle);
    EXPECT_EQ(loaded.m_nGrowth, 25);
    EXPECT_EQ(loaded.m_nSpeed, -1);
    EXPECT_EQ(loaded.m_nMaxZoom, 2147483647);
    EXPECT_EQ(loaded.m_nRotation, 1);
    EXPECT_EQ(loaded.m_nStartMode, 1);
    EXPECT_EQ(loaded.m_nMouse, 1);
    EXPECT_EQ(loaded.m_nSound, 1);
    EXPECT_EQ(loaded.m_nMaxMedia, 1);
    EXPECT_EQ(loaded.m_nDisplayOrder, 1);
    EXPECT_EQ(loaded.m_strGroup, "起動時に選択");
    EXPECT_EQ(loaded.m_pictureOrder, saved.m_pictureOrder);
    EXPECT_NE(FileBytes().find(Disk("画像ファイル名1=表示\\ソ.jpg\r\n")), std::string::npos);
}

TEST_F(AppSettingsTest, PictureOrderIsBoundedAndEndsAtTheFirstEmptyKey) {
    CAppSettings settings(Folder());
    settings.Load();
    settings.m_pictureOrder = Names("p", 12);
    ASSERT_TRUE(settings.Save());
    const std::string file = FileBytes();
    EXPECT_NE(file.find(Disk("画像ファイル名9=p9.png\r\n画像ファイル名10=\r\n")),
              std::string::npos);
    EXPECT_EQ(file.find(Disk("画像ファイル名11")), std::string::npos);
    settings.Load();
    EXPECT_EQ(settings.m_pictureOrder, Names("p", 10));

    // A shorter list later leaves the old higher keys behind, but its terminator ends it.
    settings.m_pictureOrder = Names("q", 5);
    ASSERT_TRUE(settings.Save());
    settings.m_pictureOrder = Names("r", 3);
    ASSERT_TRUE(settings.Save());
    EXPECT_NE(FileBytes().find(Disk("画像ファイル名4=q4.png\r\n")), std::string::npos);
    settings.Load();
    EXPECT_EQ(settings.m_pictureOrder, Names("r", 3));

    // Any non-zero maximum-media value lifts the bound to 100.
    settings.m_nMaxMedia = 5;
    settings.m_pictureOrder = Names("s", 101);
    ASSERT_TRUE(settings.Save());
    EXPECT_NE(FileBytes().find(Disk("画像ファイル名99=s99.png\r\n画像ファイル名100=\r\n")),
              std::string::npos);
    settings.Load();
    EXPECT_EQ(settings.MaxMediaCount(), 100);
    EXPECT_EQ(settings.m_pictureOrder, Names("s", 100));

    // The bound applies to reading too, with the maximum just read.
    CAppSettings other(Folder());
    other.Load();
    ASSERT_EQ(other.m_pictureOrder.size(), 100u);
    other.m_nMaxMedia = 0;
    ASSERT_TRUE(other.WriteInt(keys::kSettingsSection, keys::kMaxMedia, 0));
    other.Load();
    EXPECT_EQ(other.m_pictureOrder, Names("s", 10));
}

TEST_F(AppSettingsTest, AnEmptyKeyInTheMiddleEndsTheList) {
    WriteFileBytes(
        Disk("[設定]\r\n"
             "画像ファイル名0=a.png\r\n"
             "画像ファイル名1=b.png\r\n"
             "画像ファイル名2=\r\n"
             "画像ファイル名3=d.png\r\n"
             "画像ファイル名4=e.png\r\n"));
    CAppSettings settings(Folder());
    settings.Load();
    EXPECT_EQ(settings.m_pictureOrder, (std::vector<std::string>{"a.png", "b.png"}));
}

TEST_F(AppSettingsTest, IntegersInAnySectionAndEveryReadSeesEveryWrite) {
    CAppSettings writer(Folder());
    CAppSettings reader(Folder());
    ASSERT_TRUE(writer.WriteInt(keys::kSoundFileSection, "animals\\Dog.png", -1));
    ASSERT_TRUE(writer.WriteInt(keys::kSoundFileSection, "表示\\ソ.png", 7));
    EXPECT_EQ(reader.ReadInt(keys::kSoundFileSection, "animals\\Dog.png", 3), -1);
    EXPECT_EQ(reader.ReadInt("soundfile", "ANIMALS\\dog.PNG", 3), -1);
    EXPECT_EQ(reader.ReadInt(keys::kSoundFileSection, "表示\\ソ.png", -1), 7);
    EXPECT_EQ(reader.ReadInt(keys::kSoundFileSection, "missing.png", -1), -1);
    EXPECT_EQ(reader.ReadInt("Missing", "animals\\Dog.png", 4), 4);

    // A Save writes the record and leaves the sound map alone; the last Save wins.
    reader.Load();
    reader.m_nSpeed = 30;
    ASSERT_TRUE(reader.Save());
    ASSERT_TRUE(writer.WriteInt(keys::kSoundFileSection, "animals\\dog.png", 2));
    writer.Load();
    EXPECT_EQ(writer.m_nSpeed, 30);
    EXPECT_EQ(writer.ReadInt(keys::kSoundFileSection, "表示\\ソ.png", -1), 7);
    EXPECT_EQ(reader.ReadInt(keys::kSoundFileSection, "Animals\\Dog.png", -1), 2);

    WriteFileBytes(Disk("[SoundFile]\r\nletters.png=abc\r\n"));
    EXPECT_EQ(reader.ReadInt(keys::kSoundFileSection, "letters.png", -1), 0);
}

TEST_F(AppSettingsTest, SaveKeepsEveryLineItDoesNotOwn) {
    std::string before = Disk(
        "; written by hand\r\n"
        "\r\n"
        "[設定]\r\n"
        "速さ=5\r\n"
        "メモ=parent's note\r\n"
        "\r\n"
        "[SoundFile]\n"
        "a.png = 2\r\n"
        "[Other]\r\n"
        "odd bytes: ");
    before += "\x85\x40\xFF\x81";
    CAppSettings settings(Folder());
    WriteFileBytes(before);
    settings.Load();
    EXPECT_EQ(settings.m_nSpeed, 5);
    settings.m_nSpeed = 6;
    ASSERT_TRUE(settings.Save());
    std::string after = Disk(
        "; written by hand\r\n"
        "\r\n"
        "[設定]\r\n"
        "速さ=6\r\n"
        "メモ=parent's note\r\n"
        "タイトル=ずーむざっぷ\r\n"
        "一回に広がる大きさ=10\r\n"
        "最大画像拡大率=100\r\n"
        "回転=0\r\n"
        "初期表示=0\r\n"
        "マウス操作=0\r\n"
        "音声=0\r\n"
        "最大画像数=0\r\n"
        "表示=0\r\n"
        "グループ=\r\n"
        "画像ファイル名0=\r\n"
        "\r\n"
        "[SoundFile]\n"
        "a.png = 2\r\n"
        "[Other]\r\n"
        "odd bytes: ");
    after += "\x85\x40\xFF\x81";
    EXPECT_EQ(FileBytes(), after);
    EXPECT_EQ(settings.ReadInt(keys::kSoundFileSection, "a.png", -1), 2);
}

TEST_F(AppSettingsTest, ADamagedFileGivesDefaultsForTheDamagedKeysOnly) {
    std::string damaged("\xFF\xFE\x00\x01 garbage\r\n", 14);
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

TEST_F(AppSettingsTest, AReadOnlySettingsFileIsLeftAsItIs) {
    const std::string before = Disk("[設定]\r\n速さ=5\r\n[Other]\r\nkeep=1\r\n");
    WriteFileBytes(before);
    // On Windows the read-only attribute, which binds every account.
    stdfs::permissions(
        IniPath(),
        stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write,
        stdfs::perm_options::remove);
    CAppSettings settings(Folder());
    settings.Load();
    EXPECT_EQ(settings.m_nSpeed, 5);
    settings.m_nSpeed = 6;
    EXPECT_FALSE(settings.Save());
    EXPECT_FALSE(settings.WriteInt(keys::kSoundFileSection, "a.png", 1));
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(FolderContent(), std::set<std::string>{"Zoomzap.ini"});
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
