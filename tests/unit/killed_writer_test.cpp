// A save killed midway leaves the old or the new file, whole, and its leftovers do not pile up.
// Linux only: a saving child is killed at random, half the time inside the temporary file's
// write (seen in its open files while it is stopped).

#ifdef __linux__

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "settings/app_settings.h"
#include "settings/codepage932.h"
#include "tests/unit/temp_tree.h"

namespace zz {
namespace {

namespace stdfs = std::filesystem;
using Clock = std::chrono::steady_clock;

enum class Aim { kAnywhere, kInsideTheWrite };

class KilledWriterTest : public ::testing::Test {
protected:
    KilledWriterTest() {
        // A sound map of some size, so that writing a save takes a while.
        std::string bytes = Utf8ToCp932("[SoundFile]\r\n");
        for (int i = 0; bytes.size() < (256 << 10); ++i) {
            bytes += Utf8ToCp932("どうぶつ\\ソ" + std::to_string(i) +
                                 ".png=" + std::to_string(i % 12) + "\r\n");
        }
        std::ofstream(IniPath(), std::ios::binary) << bytes;
        EXPECT_TRUE(SaveRecord(0));
        m_old = FileBytes();
        EXPECT_TRUE(SaveRecord(1));
        m_new = FileBytes();
        const auto start = Clock::now();
        for (int i = 0; i < 4; ++i) {
            SaveRecord(i % 2);
        }
        m_saveTime = (Clock::now() - start) / 4;
    }

    stdfs::path IniPath() const { return m_folder / "Zoomzap.ini"; }

    std::string FileBytes() const {
        std::ifstream in(IniPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Saves one of two records that differ in every value but not in their keys, so that
    // saving either gives the same file whatever the file held before.
    bool SaveRecord(int which) const {
        CAppSettings settings(m_folder.string());
        settings.Load();
        settings.m_strTitle = which == 0 ? "古いタイトル" : "新しいタイトル";
        settings.m_nSpeed = which == 0 ? 1 : 300;
        settings.m_nMaxMedia = 1;
        settings.m_pictureOrder.assign(100, which == 0 ? "たべもの\\いちご.png" : "ソ\\表.jpg");
        return settings.Save();
    }

    // Whether the stopped child holds a file of the folder open for writing other than the
    // settings file itself: then it is inside a save's write.
    bool WritesATemporaryFile(pid_t child) const {
        std::error_code error;
        const stdfs::path fds = "/proc/" + std::to_string(child) + "/fd";
        for (const auto& entry : stdfs::directory_iterator(fds, error)) {
            const stdfs::path target = stdfs::read_symlink(entry.path(), error);
            if (!error && target.parent_path() == m_folder && target.filename() != "Zoomzap.ini") {
                return true;
            }
        }
        return false;
    }

    // Kills a child saving the two records in turn at a random moment, or at the first of many
    // that finds it writing. Whether the kill landed inside the write; nothing when the child
    // failed by itself.
    std::optional<bool> KillSavingChild(std::mt19937& random, Aim aim) {
        const pid_t child = ::fork();
        for (int which = 0; child == 0; which ^= 1) {
            if (!SaveRecord(which)) {
                ::_exit(3);
            }
        }
        if (child < 0) {
            return std::nullopt;
        }
        const auto span = std::chrono::duration_cast<std::chrono::microseconds>(
            aim == Aim::kAnywhere ? m_saveTime * 3 : m_saveTime / 4);
        std::uniform_int_distribution<long long> delay(0, span.count());
        bool inside = false;
        int status = 0;
        for (int look = 0; look < 1000; ++look) {
            std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
            ::kill(child, SIGSTOP);
            if (::waitpid(child, &status, WUNTRACED) != child || !WIFSTOPPED(status)) {
                return std::nullopt;
            }
            inside = WritesATemporaryFile(child);
            if (aim == Aim::kAnywhere || inside) {
                break;
            }
            ::kill(child, SIGCONT);
        }
        ::kill(child, SIGKILL);  // kills a stopped process too
        ::waitpid(child, &status, 0);
        if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL) {
            return std::nullopt;
        }
        return inside;
    }

    test::TempTree m_tree;
    stdfs::path m_folder = m_tree.Root();
    std::string m_old;
    std::string m_new;
    Clock::duration m_saveTime{};
};

TEST_F(KilledWriterTest, EveryKillLeavesTheOldOrTheNewFileWhole) {
    ASSERT_NE(m_old, m_new);
    std::mt19937 random(7);
    int kills = 0;
    int insideTheWrite = 0;
    int oldSeen = 0;
    // 200 kills, or as many as fit in 6 s, at least 20; ZZ_KILL_COUNT=n makes exactly n.
    const char* const longForm = std::getenv("ZZ_KILL_COUNT");
    const int count = longForm != nullptr ? std::atoi(longForm) : 200;
    const auto deadline =
        longForm != nullptr ? Clock::time_point::max() : Clock::now() + std::chrono::seconds(6);
    for (; kills < count && (kills < 20 || Clock::now() < deadline); ++kills) {
        const auto inside =
            KillSavingChild(random, kills % 2 == 0 ? Aim::kAnywhere : Aim::kInsideTheWrite);
        ASSERT_TRUE(inside.has_value()) << "the saving child failed";
        insideTheWrite += *inside;
        const std::string bytes = FileBytes();
        ASSERT_TRUE(bytes == m_old || bytes == m_new)
            << "kill " << kills << " left " << bytes.size() << " bytes";
        oldSeen += bytes == m_old;
        CAppSettings settings(m_folder.string());
        settings.Load();
        EXPECT_EQ(settings.m_nSpeed, bytes == m_old ? 1 : 300);
        EXPECT_EQ(settings.m_pictureOrder.size(), 100u);
    }
    std::printf("%d kills, %d inside the write, saves of %lld ms: %d left the old file\n", kills,
                insideTheWrite,
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(m_saveTime).count()),
                oldSeen);
    // The kills reached the write and both outcomes, not only ever the same moment.
    EXPECT_GT(insideTheWrite, 0);
    EXPECT_GT(oldSeen, 0);
    EXPECT_LT(oldSeen, kills);
}

TEST_F(KilledWriterTest, WhatKilledSavesLeaveBehindIsGoneAfterTheNextSave) {
    std::mt19937 random(11);
    int insideTheWrite = 0;
    for (int kills = 0; kills < 10; ++kills) {
        const auto inside = KillSavingChild(random, Aim::kInsideTheWrite);
        ASSERT_TRUE(inside.has_value()) << "the saving child failed";
        insideTheWrite += *inside;
    }
    ASSERT_GT(insideTheWrite, 0) << "no kill landed inside a write";
    ASSERT_TRUE(SaveRecord(0));
    EXPECT_EQ(FileBytes(), m_old);
    const stdfs::directory_iterator entries(m_folder);
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1)
        << "files of killed saves stay in the program folder";
}

}  // namespace
}  // namespace zz

#endif
