// A save killed at any moment leaves the old or the new file whole, and the next save leaves
// nothing of it behind. Linux only: a saving child is killed at random, every second time at
// the first of many stops that finds it holding the temporary file open.

#ifdef __linux__

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "settings/app_settings.h"
#include "settings/codepage932.h"
#include "tests/support/temp_tree.h"

namespace zz {
namespace {

using Clock = std::chrono::steady_clock;

TEST(KilledWriterTest, EveryKillLeavesTheOldOrTheNewFileWholeAndTheNextSaveNothingElse) {
    test::TempTree tree;
    std::string soundMap = "[SoundFile]\r\n";  // of some size, so that a save takes a while
    for (int i = 0; soundMap.size() < (256 << 10); ++i) {
        soundMap += Utf8ToCp932("どうぶつ\\ソ" + std::to_string(i) + ".png=3\r\n");
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
        std::error_code error;
        for (const auto& fd :
             test::stdfs::directory_iterator("/proc/" + std::to_string(child) + "/fd")) {
            const test::stdfs::path target = test::stdfs::read_symlink(fd.path(), error);
            if (!error && target.parent_path() == tree.Root() &&
                target.filename() != "Zoomzap.ini") {
                return true;
            }
        }
        return false;
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
        EXPECT_EQ(CAppSettings(tree.Root()).Load().speed, bytes == old ? 1 : 300);
    }
    std::printf("%d kills, %d inside the write, saves of %lld us: %d left the old file\n", kills,
                inside, static_cast<long long>(saveTime.count()), oldSeen);
    EXPECT_GT(inside, 0);  // the kills reached the write and both outcomes
    EXPECT_TRUE(oldSeen > 0 && oldSeen < kills);
    ASSERT_TRUE(save(0));
    EXPECT_EQ(tree.Content(), std::set<std::string>{"Zoomzap.ini"});
}

}  // namespace
}  // namespace zz

#endif
