// The settings file through its store: defaults, the order list, single integers, and what a
// parent, a full disk or a writer killed mid-save can leave behind.

#include "settings/app_settings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <functional>
#include <thread>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

#include "settings/codepage932.h"
#include "tests/support/memory_tree.h"
#include "tests/support/temp_tree.h"

namespace zz {
namespace {

using test::Names;
using test::TempTree;
namespace stdfs = std::filesystem;

std::string Disk(std::string_view utf8) {
    return Utf8ToCp932(utf8);
}

Names Numbered(std::string_view prefix, int count) {
    Names names;
    for (int i = 0; i < count; ++i) {
        names.push_back(std::string(prefix) + std::to_string(i) + ".png");
    }
    return names;
}

std::string Noise(std::size_t size) {
    std::mt19937 random(static_cast<std::uint32_t>(size));
    std::string bytes(size, '\0');
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(random()); });
    return bytes;
}

Settings Defaults(const std::function<void(Settings&)>& change = {}) {
    Settings settings = DefaultSettings();
    if (change) {
        change(settings);
    }
    return settings;
}

TEST(SettingsStore, WithoutAFileLoadGivesTheDefaultsAndTheFirstSaveWritesEveryKeyInOrder) {
    TempTree tree;
    CAppSettings store(tree.Root());
    const Settings settings = store.Load();
    EXPECT_TRUE(tree.Content().empty());
    ASSERT_TRUE(store.Save(settings));
    EXPECT_EQ(tree.Read("Zoomzap.ini"),
              Disk("[設定]\r\nタイトル=ずーむざっぷ\r\n一回に広がる大きさ=10\r\n速さ=1\r\n"
                   "最大画像拡大率=100\r\n回転=0\r\n初期表示=0\r\nマウス操作=0\r\n音声=0\r\n"
                   "最大画像数=0\r\n表示=0\r\nグループ=\r\n画像ファイル名0=\r\n"));
    EXPECT_EQ(tree.Content(), std::set<std::string>{"Zoomzap.ini"});
}

TEST(SettingsStore, TheOrderListIsBoundedByTheMediaLimitAndEndsAtItsFirstEmptyEntry) {
    test::MemoryTree tree;
    CAppSettings store(tree.Root(), tree);
    Settings settings = Defaults([](Settings& s) { s.pictureOrder = Numbered("p", 12); });
    ASSERT_TRUE(store.Save(settings));
    EXPECT_EQ(store.Load().pictureOrder, Numbered("p", 10));
    // A shorter list leaves the old higher keys behind, but its empty entry ends it.
    settings.pictureOrder = Numbered("r", 3);
    ASSERT_TRUE(store.Save(settings));
    EXPECT_EQ(store.Load().pictureOrder, Numbered("r", 3));
    // Any limit but 0 means 100, for reading too.
    settings.mediaLimit = static_cast<MediaLimit>(5);
    settings.pictureOrder = Numbered("s", 101);
    ASSERT_TRUE(store.Save(settings));
    EXPECT_EQ(store.Load().pictureOrder, Numbered("s", 100));
    ASSERT_TRUE(store.WriteInt(kSettingsSection, "最大画像数", 0));
    EXPECT_EQ(store.Load().pictureOrder, Numbered("s", 10));
}

TEST(SettingsStore, IntegersInAnySectionAndEveryReadSeesEveryWrite) {
    test::MemoryTree tree;
    CAppSettings writer(tree.Root(), tree);
    CAppSettings reader(tree.Root(), tree);
    ASSERT_TRUE(writer.WriteInt(kSoundMapSection, "表示\\ソ.png", 7));  // 0x5C trail bytes
    ASSERT_TRUE(reader.Save(Defaults([](Settings& s) { s.speed = 30; })));
    EXPECT_EQ(writer.Load().speed, 30);
    EXPECT_EQ(writer.ReadInt(kSoundMapSection, "表示\\ソ.png", -1), 7);  // a save keeps it
    // Several integers in one save, or none when one key cannot be a name.
    EXPECT_FALSE(writer.WriteInts(kSoundMapSection, {{"a.png", 1}, {"b=c.png", 2}}));
    EXPECT_EQ(reader.ReadInt(kSoundMapSection, "a.png", -1), -1);
    ASSERT_TRUE(writer.WriteInts(kSoundMapSection, {{"a.png", 1}, {"表示\\ソ.png", 3}}));
    EXPECT_EQ(tree.Replaced(), 3);
    EXPECT_EQ(std::pair(reader.ReadInt(kSoundMapSection, "a.png", -1),
                        reader.ReadInt(kSoundMapSection, "表示\\ソ.png", -1)),
              std::pair(1, 3));
    // A record the file cannot hold is not reported as stored.
    EXPECT_FALSE(reader.Save(Defaults([](Settings& s) { s.title = "two\nlines"; })));
}

// What a file holds is read; a save keeps every byte it does not own and reads back as saved.
// Damaged lines and Unicode files, and what each reads as, are the INI file tests'.
TEST(SettingsStore, AnyFileReadsAsWhatItHoldsAndASaveReadsBackAndKeepsTheRest) {
    const struct {
        const char* what;
        std::string bytes;
        Settings expected;
        bool keepsEveryByte;  // nothing of it is the record's to rewrite
    } cases[] = {
        {"noise", Noise(64 << 10), Defaults(), true},
        {"values no control shows",
         Disk("[設定]\r\n回転=5\r\nマウス操作=-3\r\n音声=2\r\n最大画像数=-1\r\n表示=7\r\n"
              "初期表示=2147483647\r\n一回に広がる大きさ=-2147483648\r\n"),
         Defaults([](Settings& s) {
             std::tie(s.growth, s.rotation, s.mouse, s.sound) =
                 std::tuple(INT_MIN, OnOff{5}, OnOff{-3}, OnOff{2});
             std::tie(s.mediaLimit, s.displayOrder, s.startMode) =
                 std::tuple(MediaLimit{-1}, DisplayOrder{7}, StartMode{INT_MAX});
         }),
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempTree tree;
        tree.File("Zoomzap.ini", c.bytes);
        CAppSettings store(tree.Root());
        Settings settings = store.Load();
        EXPECT_TRUE(settings == c.expected);
        settings.maxZoom = 9;
        settings.pictureOrder = {"ソ\\〜.png"};
        ASSERT_TRUE(store.Save(settings));
        const std::string saved = tree.Read("Zoomzap.ini");
        EXPECT_TRUE(!c.keepsEveryByte || saved.starts_with(c.bytes));
        settings.pictureOrder = {"ソ\\?.png"};  // the form code page 932 holds it in
        EXPECT_TRUE(store.Load() == settings);
        ASSERT_TRUE(store.Save(store.Load()));
        EXPECT_EQ(tree.Read("Zoomzap.ini"), saved);
        EXPECT_EQ(tree.Content(), std::set<std::string>{"Zoomzap.ini"});
    }
}

// No save that could not finish is reported as done, and the old file stays as it was.
TEST(SettingsStore, AFileThatCannotBeReplacedIsReportedAndLeftAsItWas) {
    const std::string before = Disk("[設定]\r\n速さ=5\r\n") + Noise(64 << 10);
    const std::function<std::string(TempTree&)> folders[] = {
        [&](TempTree& tree) {  // read-only, which binds even an administrator or root
            tree.File("Zoomzap.ini", before);
            using enum stdfs::perms;
            stdfs::permissions(tree.Path("Zoomzap.ini"), owner_write | group_write | others_write,
                               stdfs::perm_options::remove);
            return tree.Root();
        },
        // Listed but unreadable, also by another case of its name: writing over it would lose
        // what it holds.
        [](TempTree& tree) { return tree.Folder("ZOOMZAP.INI"), tree.Root(); },
        [](TempTree& tree) { return JoinPath(tree.Root(), "gone"); },
#ifndef _WIN32
        [&](TempTree& tree) {  // a disk that fills up during the save
            tree.File("Zoomzap.ini", before);
            std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
            const rlimit limit{32 << 10, 32 << 10};
            return ::setrlimit(RLIMIT_FSIZE, &limit), tree.Root();
        },
#endif
    };
    for (size_t i = 0; i < std::size(folders); ++i) {
        SCOPED_TRACE(i);
        TempTree tree;
#ifndef _WIN32
        // In a child process, whose file size limit cannot reach the other tests.
        const pid_t child = ::fork();
        if (child != 0) {
            int status = 1;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            continue;
        }
#endif
        CAppSettings store(folders[i](tree));
        const auto content = tree.Content();
        const std::string bytes = tree.Read("Zoomzap.ini");
        EXPECT_FALSE(store.Save(Defaults()));
        EXPECT_FALSE(store.WriteInt(kSoundMapSection, "a.png", 2));
        EXPECT_EQ(tree.Read("Zoomzap.ini"), bytes);
        EXPECT_EQ(tree.Content(), content);
#ifndef _WIN32
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
#endif
    }
}

#ifdef __linux__

using Clock = std::chrono::steady_clock;

// Linux only: a saving child is killed at random, every second time at the first of many stops
// that finds it holding the temporary file open.
TEST(KilledWriterTest, EveryKillLeavesTheOldOrTheNewFileWholeAndTheNextSaveNothingElse) {
    test::TempTree tree;
    std::string soundMap = "[SoundFile]\r\n";  // of some size, so that a save takes a while
    while (soundMap.size() < (256 << 10)) {
        soundMap += Disk("どうぶつ\\ソ" + std::to_string(soundMap.size()) + ".png=3\r\n");
    }
    tree.File("Zoomzap.ini", soundMap);
    const auto save = [&](int which) {  // records that differ in every value, not in their keys
        Settings settings = CAppSettings(tree.Root()).Load();
        std::tie(settings.speed, settings.mediaLimit) =
            std::tuple(which == 0 ? 1 : 300, MediaLimit::kHundred);
        settings.pictureOrder.assign(100, which == 0 ? "たべもの\\いちご.png" : "ソ\\表.jpg");
        return CAppSettings(tree.Root()).Save(settings);
    };
    const auto start = Clock::now();
    ASSERT_TRUE(save(0));
    const auto saveTime =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    const std::string old = tree.Read("Zoomzap.ini");
    ASSERT_TRUE(save(1));
    const std::string fresh = tree.Read("Zoomzap.ini");
    const auto writingTemporaryFile = [&](pid_t child) {
        const stdfs::directory_iterator fds("/proc/" + std::to_string(child) + "/fd");
        return std::any_of(begin(fds), end(fds), [&](const stdfs::directory_entry& fd) {
            std::error_code error;
            const stdfs::path target = stdfs::read_symlink(fd.path(), error);
            return !error && target.parent_path() == tree.Root() &&
                   target.filename() != "Zoomzap.ini";
        });
    };
    std::mt19937 random(7);
    int kills = 0, inside = 0, oldSeen = 0;
    // 200 kills, or as many as fit in 6 s, at least 20; ZZ_KILL_COUNT=n makes exactly n.
    const char* const longForm = std::getenv("ZZ_KILL_COUNT");
    const int count = longForm != nullptr ? std::atoi(longForm) : 200;
    const auto deadline =
        longForm ? Clock::time_point::max() : Clock::now() + std::chrono::seconds(6);
    for (; kills < count && (kills < 20 || Clock::now() < deadline); ++kills) {
        const pid_t child = ::fork();
        for (int which = 0; child == 0; which ^= 1) {
            if (!save(which)) {
                ::_exit(3);
            }
        }
        const bool aimed = kills % 2 == 1;
        std::uniform_int_distribution<long long> delay(
            0, (aimed ? saveTime / 4 : saveTime * 3).count());
        bool landed = false;
        int status = 0;
        for (int look = 0; look < (aimed ? 1000 : 1) && !landed; ++look) {
            ::kill(child, SIGCONT);
            std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
            ::kill(child, SIGSTOP);
            ASSERT_TRUE(::waitpid(child, &status, WUNTRACED) == child && WIFSTOPPED(status));
            landed = writingTemporaryFile(child);
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        inside += landed;
        const std::string bytes = tree.Read("Zoomzap.ini");
        ASSERT_TRUE(bytes == old || bytes == fresh) << "kill " << kills << ": " << bytes.size();
        oldSeen += bytes == old;
    }
    std::printf("%d kills, %d inside the write, saves of %lld us: %d left the old file\n", kills,
                inside, static_cast<long long>(saveTime.count()), oldSeen);
    EXPECT_GT(inside, 0);  // the kills reached the write and both outcomes
    EXPECT_TRUE(oldSeen > 0 && oldSeen < kills);
    ASSERT_TRUE(save(0));
    EXPECT_EQ(tree.Content(), std::set<std::string>{"Zoomzap.ini"});
}

#endif

}  // namespace
}  // namespace zz
