// Settings files that a parent, a crash or a full disk can leave behind: defaults for what
// cannot be read, every foreign byte kept, and a save that reads back as saved.

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

#include "settings/app_settings.h"
#include "settings/codepage932.h"
#include "settings/settings_keys.h"
#include "tests/unit/temp_tree.h"
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
    ~SettingsRobustnessTest() override {
        std::error_code ignored;  // a read-only file would outlive the folder on Windows
        stdfs::permissions(IniPath(), stdfs::perms::owner_write, stdfs::perm_options::add, ignored);
    }

    stdfs::path IniPath() const {
        const std::string root = m_tree.Root();
        return stdfs::path(std::u8string(root.begin(), root.end())) / "Zoomzap.ini";
    }
    std::string FileBytes() const {
        std::ifstream in(IniPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void WriteFileBytes(const std::string& bytes) const {
        std::ofstream(IniPath(), std::ios::binary | std::ios::trunc) << bytes;
        ASSERT_EQ(FileBytes(), bytes);
    }
    // Whether a save left anything but the settings file behind.
    bool OnlyTheFile() const {
        const stdfs::directory_iterator entries(IniPath().parent_path());
        return std::distance(begin(entries), end(entries)) == 1 && stdfs::exists(IniPath());
    }
    CAppSettings Loaded() const {
        CAppSettings settings(m_tree.Root());
        settings.Load();
        return settings;
    }

    test::TempTree m_tree;
};

std::string Noise(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random());
    }
    return bytes;
}

TEST_F(SettingsRobustnessTest, BinaryGarbageReadsAsDefaultsAndASaveKeepsItAndReadsBack) {
    const std::string files[] = {
        "",
        std::string(4096, '\0'),
        "\x81",  // a lead byte without its trail
        Noise(64 * 1024, 1),
        std::string("\xFE\xFF\x00", 3),  // a UTF-16 mark and half a character
        std::string("\r\r\r[\x81]\0=\n=\n[\n]", 15),
    };
    CAppSettings none(JoinPath(m_tree.Root(), "no such folder"));
    none.Load();
    const std::string defaults = Describe(none);
    for (const std::string& file : files) {
        SCOPED_TRACE(file.size());
        WriteFileBytes(file);
        CAppSettings settings = Loaded();
        EXPECT_EQ(Describe(settings), defaults);

        settings.m_nSpeed = 7;
        settings.m_strTitle = "ソのおもちゃ";
        ASSERT_TRUE(settings.Save());
        const std::string saved = FileBytes();
        EXPECT_TRUE(saved.starts_with(file));
        EXPECT_EQ(Describe(Loaded()), Describe(settings));
        // Saving what was read back has nothing left to change.
        ASSERT_TRUE(Loaded().Save());
        EXPECT_EQ(FileBytes(), saved);
        EXPECT_TRUE(OnlyTheFile());
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
    settings.m_nRotation = 1;
    ASSERT_TRUE(settings.Save());
    const std::string saved = FileBytes();
    EXPECT_GT(saved.size(), huge.size());
    EXPECT_TRUE(saved.starts_with(huge));
    EXPECT_EQ(Describe(Loaded()), Describe(settings));
}

// The platform's profile functions read the first section of a name and the first key of a
// name in it; writing must change that same line, or a save would not be read back.
TEST_F(SettingsRobustnessTest, DuplicateSectionsAndKeysTheFirstWinsForReadingAndWriting) {
    const std::string second = Disk("[設定]\r\n速さ=4\r\n[soundfile]\r\nb.png=5\r\n");
    WriteFileBytes(Disk("[設定]\r\n速さ=2\r\n速さ=3\r\n[SoundFile]\r\na.png=1\r\n") + second);
    CAppSettings settings = Loaded();
    EXPECT_EQ(settings.m_nSpeed, 2);
    EXPECT_EQ(settings.ReadInt(keys::kSoundFileSection, "b.png", -1), -1);

    settings.m_nSpeed = 5;
    ASSERT_TRUE(settings.Save());
    ASSERT_TRUE(settings.WriteInt(keys::kSoundFileSection, "A.PNG", 9));
    const std::string saved = FileBytes();
    EXPECT_TRUE(saved.starts_with(Disk("[設定]\r\n速さ=5\r\n速さ=3\r\n"))) << saved;
    EXPECT_NE(saved.find(Disk("[SoundFile]\r\nA.PNG=9\r\n[設定]")), std::string::npos) << saved;
    EXPECT_TRUE(saved.ends_with(second)) << saved;
    EXPECT_EQ(Describe(Loaded()), Describe(settings));
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

// Settings at the limits of int in the view: no overflow (the sanitizer tree stops at any), and
// a picture that stays where a window can draw it.
TEST_F(SettingsRobustnessTest, SettingsAtTheLimitsKeepThePlaySurfaceInRange) {
    const Rect client{0, 0, 1920, 1080};
    for (const int limit : {INT_MIN, -1, INT_MAX}) {
        SCOPED_TRACE(limit);
        const std::string value = std::to_string(limit) + "\r\n";
        WriteFileBytes(Disk("[設定]\r\n一回に広がる大きさ=" + value + "最大画像拡大率=" + value +
                            "速さ=" + value + "マウス操作=1\r\n"));
        OnePicture picture;
        FixedRandom random;
        PlaySurface surface(picture, random);
        surface.ApplySettings(Loaded(), client);
        std::array<int, kPictureSlots> sounds;
        sounds.fill(-1);
        surface.SetPictures(1, sounds);
        for (int key = 0; key < 20; ++key) {
            surface.ShowNextPicture();
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
    settings.m_nSpeed = 6;
    EXPECT_FALSE(settings.Save());
    EXPECT_FALSE(settings.WriteInt(keys::kSoundFileSection, "a.png", 2));
    EXPECT_EQ(FileBytes(), before);
    EXPECT_TRUE(OnlyTheFile());
}

#ifndef _WIN32
// A file size limit in a child process fills the disk for the save alone.
TEST_F(SettingsRobustnessTest, ADiskFullDuringTheSaveKeepsTheOldFile) {
    const std::string before = Disk("[設定]\r\n速さ=5\r\n") + Noise(64 * 1024, 3);
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
        ::_exit(!saved && !wrote ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a save reported success on a full disk";
    EXPECT_EQ(FileBytes(), before);
    EXPECT_TRUE(OnlyTheFile());
}
#endif

}  // namespace
}  // namespace zz
