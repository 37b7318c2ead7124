// A program killed in the middle of saving its settings: the file is then the old or the new
// one, whole, and what the killed saves leave behind does not pile up. POSIX only: a child
// process saves in a loop and is killed at random points.

#ifndef _WIN32

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>

#include "settings/app_settings.h"
#include "settings/codepage932.h"

namespace zz {
namespace {

namespace stdfs = std::filesystem;
using Clock = std::chrono::steady_clock;

// One of two records that differ in every value but not in their keys, so that saving either
// gives the same file whatever the file held before.
void FillRecord(CAppSettings& settings, int which) {
    settings.m_strTitle = which == 0 ? "古いタイトル" : "新しいタイトル";
    settings.m_nSpeed = which == 0 ? 1 : 300;
    settings.m_nMaxMedia = 1;
    settings.m_pictureOrder.assign(100, which == 0 ? "たべもの\\いちご.png" : "ソ\\表.jpg");
}

class KilledWriterTest : public ::testing::Test {
protected:
    KilledWriterTest() {
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_folder = stdfs::temp_directory_path() /
                   ("zz-killed-" + test + "-" + std::to_string(std::random_device()()));
        stdfs::create_directories(m_folder);
        // A large sound map, so that a save takes long enough to be killed inside.
        std::string bytes = Utf8ToCp932("[SoundFile]\r\n");
        for (int i = 0; bytes.size() < (256 << 10); ++i) {
            bytes += Utf8ToCp932("どうぶつ\\ソ" + std::to_string(i) +
                                 ".png=" + std::to_string(i % 12) + "\r\n");
        }
        std::ofstream(IniPath(), std::ios::binary) << bytes;
        m_old = SaveRecord(0);
        m_new = SaveRecord(1);
    }
    ~KilledWriterTest() override {
        std::error_code ignored;  // a leftover temporary folder harms nothing
        stdfs::remove_all(m_folder, ignored);
    }

    stdfs::path IniPath() const { return m_folder / "Zoomzap.ini"; }

    std::string FileBytes() const {
        std::ifstream in(IniPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // The file's bytes after saving one of the two records.
    std::string SaveRecord(int which) {
        CAppSettings settings(m_folder.string());
        settings.Load();
        FillRecord(settings, which);
        if (!settings.Save()) {
            ADD_FAILURE() << "save failed";
        }
        return FileBytes();
    }

    // A child that saves the two records in turn until it is killed.
    pid_t StartSavingChild() {
        const pid_t child = ::fork();
        if (child == 0) {
            for (int which = 0;; which ^= 1) {
                CAppSettings settings(m_folder.string());
                settings.Load();
                FillRecord(settings, which);
                if (!settings.Save()) {
                    ::_exit(3);
                }
            }
        }
        return child;
    }

    // Kills a saving child after a random delay of up to three times a save's time. False when the
    // child died by itself, which means it failed.
    bool KillAfterRandomDelay(std::mt19937& random, Clock::duration saveTime) {
        const pid_t child = StartSavingChild();
        if (child < 0) {
            return false;
        }
        const auto longest = std::chrono::duration_cast<std::chrono::microseconds>(saveTime * 3);
        std::this_thread::sleep_for(std::chrono::microseconds(
            std::uniform_int_distribution<long long>(0, longest.count())(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

    Clock::duration TimeOfASave() {
        const auto start = Clock::now();
        for (int i = 0; i < 4; ++i) {
            SaveRecord(i % 2);
        }
        return (Clock::now() - start) / 4;
    }

    int LeftoverFiles() const {
        int count = 0;
        for (const auto& entry : stdfs::directory_iterator(m_folder)) {
            count += entry.path().filename() != "Zoomzap.ini";
        }
        return count;
    }

    stdfs::path m_folder;
    std::string m_old;
    std::string m_new;
};

TEST_F(KilledWriterTest, EveryKillLeavesTheOldOrTheNewFileWhole) {
    ASSERT_NE(m_old, m_new);
    const Clock::duration saveTime = TimeOfASave();
    std::mt19937 random(7);
    int kills = 0;
    int oldSeen = 0;
    // 200 kills, or as many as fit in a few seconds where saves are slow, but never few.
    const auto deadline = Clock::now() + std::chrono::seconds(6);
    for (int i = 0; i < 200 && (i < 20 || Clock::now() < deadline); ++i) {
        ASSERT_TRUE(KillAfterRandomDelay(random, saveTime)) << "the saving child failed";
        ++kills;
        const std::string bytes = FileBytes();
        ASSERT_TRUE(bytes == m_old || bytes == m_new)
            << "kill " << i << " left " << bytes.size() << " bytes";
        oldSeen += bytes == m_old;
        CAppSettings settings(m_folder.string());
        settings.Load();
        EXPECT_EQ(settings.m_nSpeed, bytes == m_old ? 1 : 300);
        EXPECT_EQ(settings.m_pictureOrder.size(), 100u);
    }
    std::printf("%d kills in the middle of saves: %d left the old file, %d the new one\n", kills,
                oldSeen, kills - oldSeen);
    // Kills landed at both states, not only ever before or after the same save.
    EXPECT_GT(oldSeen, 0);
    EXPECT_LT(oldSeen, kills);
}

TEST_F(KilledWriterTest, WhatKilledSavesLeaveBehindIsGoneAfterTheNextSave) {
    const Clock::duration saveTime = TimeOfASave();
    std::mt19937 random(11);
    const auto deadline = Clock::now() + std::chrono::seconds(4);
    for (int i = 0; i < 40 && (i < 10 || Clock::now() < deadline); ++i) {
        ASSERT_TRUE(KillAfterRandomDelay(random, saveTime)) << "the saving child failed";
    }
    std::printf("%d files left by killed saves before the next save\n", LeftoverFiles());
    SaveRecord(0);
    EXPECT_EQ(FileBytes(), m_old);
    EXPECT_EQ(LeftoverFiles(), 0) << "files of killed saves are left in the program folder";
}

}  // namespace
}  // namespace zz

#endif
