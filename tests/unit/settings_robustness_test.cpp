// Settings files that a parent, a crash or a full disk can leave behind: the program starts
// with defaults for what it cannot read, keeps every byte it does not own, and never leaves a
// file that reads back differently from what it saved.

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

#include "settings/app_settings.h"
#include "settings/codepage932.h"
#include "settings/settings_keys.h"
#include "view/play_surface.h"

namespace zz {
namespace {

namespace stdfs = std::filesystem;

std::string Disk(std::string_view utf8) {
    return Utf8ToCp932(utf8);
}

// Every field of the record on one line, so that a failed comparison shows what differs.
std::string Describe(const CAppSettings& s) {
    std::string text = s.m_strTitle;
    for (const int number : {s.m_nGrowth, s.m_nSpeed, s.m_nMaxZoom, s.m_nRotation, s.m_nStartMode,
                             s.m_nMouse, s.m_nSound, s.m_nMaxMedia, s.m_nDisplayOrder}) {
        text += " " + std::to_string(number);
    }
    text += " group=" + s.m_strGroup + " order=";
    for (const std::string& name : s.m_pictureOrder) {
        text += name + "|";
    }
    return text;
}

class SettingsRobustnessTest : public ::testing::Test {
protected:
    SettingsRobustnessTest() {
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_folder = stdfs::temp_directory_path() /
                   ("zz-robust-" + test + "-" + std::to_string(std::random_device()()));
        stdfs::create_directories(m_folder);
    }
    ~SettingsRobustnessTest() override {
        std::error_code ignored;  // a leftover temporary folder harms nothing
        stdfs::permissions(IniPath(), stdfs::perms::owner_write, stdfs::perm_options::add, ignored);
        stdfs::remove_all(m_folder, ignored);
    }

    std::string Folder() const {
        const std::u8string utf8 = m_folder.u8string();
        return std::string(utf8.begin(), utf8.end());
    }
    stdfs::path IniPath() const { return m_folder / "Zoomzap.ini"; }

    std::string FileBytes() const {
        std::ifstream in(IniPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void WriteFileBytes(const std::string& bytes) const {
        std::ofstream(IniPath(), std::ios::binary | std::ios::trunc) << bytes;
        ASSERT_EQ(FileBytes(), bytes);
    }
    std::set<std::string> FolderContent() const {
        std::set<std::string> names;
        for (const auto& entry : stdfs::directory_iterator(m_folder)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    CAppSettings Loaded() const {
        CAppSettings settings(Folder());
        settings.Load();
        return settings;
    }
    std::string Defaults() const {
        CAppSettings settings(JoinPath(Folder(), "no such folder"));
        settings.Load();
        return Describe(settings);
    }

    stdfs::path m_folder;
};

std::string Utf16Le(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::string Noise(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random());
    }
    return bytes;
}

TEST_F(SettingsRobustnessTest, BinaryGarbageReadsAsDefaultsAndASaveKeepsItAndReadsBack) {
    const std::vector<std::string> files = {
        "",
        std::string(4096, '\0'),
        "\x81",  // a lead byte without its trail
        Noise(64 * 1024, 1),
        Utf16Le(u"[設定]\r\n速さ=5\r\n"),  // saved as Unicode by an editor
        std::string("\r\r\r[\x81]\0=\n=\n[\n]", 15),
    };
    const std::string defaults = Defaults();
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE("file " + std::to_string(i));
        WriteFileBytes(files[i]);
        CAppSettings settings = Loaded();
        EXPECT_EQ(Describe(settings), defaults);

        settings.m_nSpeed = 7;
        settings.m_strTitle = "ソのおもちゃ";
        ASSERT_TRUE(settings.Save());
        const std::string saved = FileBytes();
        EXPECT_EQ(saved.substr(0, files[i].size()), files[i]);
        EXPECT_EQ(Describe(Loaded()), Describe(settings));

        // Saving what was read back has nothing left to change.
        ASSERT_TRUE(Loaded().Save());
        EXPECT_EQ(FileBytes(), saved);
        EXPECT_EQ(FolderContent(), std::set<std::string>{"Zoomzap.ini"});
    }
}

TEST_F(SettingsRobustnessTest, AnEnormousFileLoadsAndSavesWithoutLosingAByte) {
    // 10 MB of noise, then a settings section whose last of 10 MB of keys is the one used.
    std::string huge = Noise(10 << 20, 2) + "\r\n" + Disk("[設定]\r\n");
    for (int i = 0; huge.size() < (20 << 20); ++i) {
        huge += Disk("使わないキー" + std::to_string(i) + "=" + std::string(200, 'v') + "\r\n");
    }
    huge += Disk("速さ=7\r\n");
    WriteFileBytes(huge);

    CAppSettings settings = Loaded();
    EXPECT_EQ(settings.m_nSpeed, 7);
    EXPECT_EQ(settings.m_nGrowth, 10);
    settings.m_nRotation = 1;
    ASSERT_TRUE(settings.Save());
    const std::string saved = FileBytes();
    EXPECT_GT(saved.size(), huge.size());
    EXPECT_TRUE(saved.starts_with(huge));
    EXPECT_EQ(Describe(Loaded()), Describe(settings));

    // One long line without a line end.
    const std::string line(4 << 20, 'x');
    WriteFileBytes(line);
    EXPECT_EQ(Describe(Loaded()), Defaults());
    ASSERT_TRUE(Loaded().Save());
    EXPECT_TRUE(FileBytes().starts_with(line + "\r\n"));
    EXPECT_EQ(Describe(Loaded()), Defaults());
}

TEST_F(SettingsRobustnessTest, LinesWithoutEqualsAreNoKeysAndStayWhereTheyAre) {
    const std::string file = Disk(
        "[設定]\r\n"
        "タイトル\r\n"
        "速さ 5\r\n"
        "=7\r\n"
        "回転=1\r\n"
        "親がここに書いたメモ\r\n");
    WriteFileBytes(file);
    CAppSettings settings = Loaded();
    EXPECT_EQ(settings.m_strTitle, keys::kDefaultTitle);
    EXPECT_EQ(settings.m_nSpeed, 1);
    EXPECT_EQ(settings.m_nRotation, 1);

    settings.m_nSpeed = 3;
    ASSERT_TRUE(settings.Save());
    const std::string saved = FileBytes();
    // The lines that are no keys stay, in their place, before the keys the save adds.
    EXPECT_TRUE(saved.starts_with(file)) << saved;
    const CAppSettings reloaded = Loaded();
    EXPECT_EQ(reloaded.m_nSpeed, 3);
    EXPECT_EQ(reloaded.m_strTitle, keys::kDefaultTitle);
}

// The platform's profile functions read the first section of a name and the first key of a
// name in it; writing must change that same line, or a save would not be read back.
TEST_F(SettingsRobustnessTest, DuplicateSectionsAndKeysTheFirstWinsForReadingAndWriting) {
    const std::string second = Disk(
        "[設定]\r\n"
        "速さ=4\r\n"
        "回転=1\r\n"
        "[soundfile]\r\n"
        "a.png=2\r\n"
        "b.png=5\r\n");
    WriteFileBytes(Disk("[設定]\r\n"
                        "速さ=2\r\n"
                        "速さ=3\r\n"
                        "[SoundFile]\r\n"
                        "a.png=1\r\n") +
                   second);
    CAppSettings settings = Loaded();
    EXPECT_EQ(settings.m_nSpeed, 2);
    EXPECT_EQ(settings.m_nRotation, 0);
    EXPECT_EQ(settings.ReadInt(keys::kSoundFileSection, "a.png", -1), 1);
    EXPECT_EQ(settings.ReadInt(keys::kSoundFileSection, "b.png", -1), -1);

    settings.m_nSpeed = 5;
    settings.m_nRotation = 1;
    ASSERT_TRUE(settings.Save());
    ASSERT_TRUE(settings.WriteInt(keys::kSoundFileSection, "A.PNG", 9));
    const std::string saved = FileBytes();
    EXPECT_TRUE(saved.starts_with(Disk("[設定]\r\n速さ=5\r\n速さ=3\r\n"))) << saved;
    EXPECT_NE(saved.find(Disk("[SoundFile]\r\nA.PNG=9\r\n[設定]")), std::string::npos) << saved;
    EXPECT_TRUE(saved.ends_with(second)) << saved;

    const CAppSettings reloaded = Loaded();
    EXPECT_EQ(Describe(reloaded), Describe(settings));
    EXPECT_EQ(reloaded.ReadInt(keys::kSoundFileSection, "a.png", -1), 9);
    EXPECT_EQ(reloaded.ReadInt(keys::kSoundFileSection, "b.png", -1), -1);
}

TEST_F(SettingsRobustnessTest, IntegersAtAndBeyondTheLimitsHoldToTheRangeOfInt) {
    WriteFileBytes(
        Disk("[設定]\r\n"
             "一回に広がる大きさ=2147483647\r\n"
             "速さ=-2147483648\r\n"
             "最大画像拡大率=2147483648\r\n"
             "回転=-2147483649\r\n"
             "初期表示=99999999999999999999999999\r\n"
             "マウス操作=+7\r\n"
             "音声= -0 \r\n"
             "最大画像数=0x10\r\n"
             "表示=１２\r\n"
             "[SoundFile]\r\n"
             "a.png=-99999999999\r\n"));
    CAppSettings settings = Loaded();
    EXPECT_EQ(settings.m_nGrowth, INT_MAX);
    EXPECT_EQ(settings.m_nSpeed, INT_MIN);
    EXPECT_EQ(settings.m_nMaxZoom, INT_MAX);
    EXPECT_EQ(settings.m_nRotation, INT_MIN);
    EXPECT_EQ(settings.m_nStartMode, INT_MAX);
    EXPECT_EQ(settings.m_nMouse, 7);
    EXPECT_EQ(settings.m_nSound, 0);
    EXPECT_EQ(settings.m_nMaxMedia, 0);      // no hexadecimal
    EXPECT_EQ(settings.m_nDisplayOrder, 0);  // no full-width digits
    EXPECT_EQ(settings.ReadInt(keys::kSoundFileSection, "a.png", 0), INT_MIN);

    ASSERT_TRUE(settings.Save());
    ASSERT_TRUE(settings.WriteInt(keys::kSoundFileSection, "b.png", INT_MIN));
    const std::string saved = FileBytes();
    EXPECT_NE(saved.find(Disk("最大画像拡大率=2147483647\r\n")), std::string::npos) << saved;
    EXPECT_NE(saved.find(Disk("回転=-2147483648\r\n")), std::string::npos) << saved;
    const CAppSettings reloaded = Loaded();
    EXPECT_EQ(Describe(reloaded), Describe(settings));
    EXPECT_EQ(reloaded.ReadInt(keys::kSoundFileSection, "b.png", 0), INT_MIN);
}

struct OnePicture : IPictureSizes {
    bool GetPictureSize(int, int& width, int& height) const override {
        width = 4000;
        height = 3000;
        return true;
    }
};

struct FixedRandom : IRandomSource {
    int Next() override { return 0; }
};

// What the limits above do once the view uses them: no overflow (the sanitizer tree stops at
// any), and a picture that stays where a window can draw it.
TEST_F(SettingsRobustnessTest, SettingsAtTheLimitsKeepThePlaySurfaceInRange) {
    const Rect client{0, 0, 1920, 1080};
    for (const int limit : {INT_MIN, -1, INT_MAX}) {
        SCOPED_TRACE(limit);
        WriteFileBytes(Disk("[設定]\r\n一回に広がる大きさ=" + std::to_string(limit) +
                            "\r\n最大画像拡大率=" + std::to_string(limit) +
                            "\r\n速さ=" + std::to_string(limit) + "\r\nマウス操作=1\r\n"));
        OnePicture picture;
        FixedRandom random;
        PlaySurface surface(picture, random);
        surface.ApplySettings(Loaded(), client);
        std::array<int, kPictureSlots> sounds;
        sounds.fill(-1);
        surface.SetPictures(1, sounds);
        for (int key = 0; key < 20; ++key) {
            surface.OnKeyDown(false);
            // The farthest a mouse message's 16-bit coordinates reach.
            surface.OnMouseMove(key % 2 == 0 ? SHRT_MAX : SHRT_MIN, SHRT_MIN, client);
            for (int tick = 0; tick < 200 && surface.IsAnimating(); ++tick) {
                surface.OnTimer(client);
                Rect rect;
                ASSERT_TRUE(surface.PictureRect(rect));
                EXPECT_LE(rect.left, rect.right);
                EXPECT_LE(rect.top, rect.bottom);
                EXPECT_GE(surface.HalfWidth(), 0);
            }
            surface.Paint(client);
        }
    }
}

TEST_F(SettingsRobustnessTest, AReadOnlyFileIsNeverReplaced) {
    const std::string before = Disk("[設定]\r\n速さ=5\r\n[SoundFile]\r\na.png=1\r\n");
    WriteFileBytes(before);
    // On Windows this sets the read-only attribute, which binds every account.
    stdfs::permissions(
        IniPath(),
        stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write,
        stdfs::perm_options::remove);
    CAppSettings settings = Loaded();
    EXPECT_EQ(settings.m_nSpeed, 5);
    settings.m_nSpeed = 6;
    EXPECT_FALSE(settings.Save());
    EXPECT_FALSE(settings.WriteInt(keys::kSoundFileSection, "a.png", 2));
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(FolderContent(), std::set<std::string>{"Zoomzap.ini"});
    EXPECT_EQ(Loaded().m_nSpeed, 5);
}

#ifndef _WIN32
// A disk that fills up in the middle of a save, made with a file size limit in a child
// process so that nothing else of the test run is bound by it.
TEST_F(SettingsRobustnessTest, ADiskFullDuringTheSaveKeepsTheOldFile) {
    std::string before = Disk("[設定]\r\n速さ=5\r\n[SoundFile]\r\n");
    for (int i = 0; before.size() < 64 * 1024; ++i) {
        before += Disk("どうぶつ\\ソ" + std::to_string(i) + ".png=1\r\n");
    }
    WriteFileBytes(before);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);  // the write then fails with EFBIG instead
        const rlimit limit{32 * 1024, 32 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        CAppSettings settings = Loaded();
        settings.m_nSpeed = 6;
        const bool saved = settings.Save();
        const bool wrote = settings.WriteInt(keys::kSoundFileSection, "a.png", 2);
        ::_exit(settings.m_nSpeed == 6 && !saved && !wrote ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a save reported success on a full disk";
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(FolderContent(), std::set<std::string>{"Zoomzap.ini"});
}
#endif

}  // namespace
}  // namespace zz
