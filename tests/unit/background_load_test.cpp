#include "view/background_load.h"

#include <gtest/gtest.h>

#include <chrono>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/memory_tree.h"
#include "settings/media_library.h"

namespace zz {
namespace {

using test::MemoryTree;
using namespace std::chrono_literals;

std::string NameOf(const std::string& path) {
    return path.substr(path.find_last_of("/\\") + 1);
}

// A decoded picture as these tests see it: the file name and the copy's kind.
struct FakePicture {
    std::string name;
    bool large = false;
    explicit operator bool() const { return !name.empty(); }
};

// The load at once, through the same slot rules, as the table it leaves.
struct AtOnce : IPictureDecoder {
    std::set<std::string> bad;
    std::map<int, std::string> slots;
    std::map<int, int> sounds;
    bool LoadSlot(int slot, const std::string& path) override {
        slots.erase(slot);
        if (bad.contains(NameOf(path))) {
            return false;
        }
        slots[slot] = NameOf(path);
        return true;
    }
    void SlotFilled(int slot, int sound) override { sounds[slot] = sound; }
};

// Notified by the worker; the test thread looks again each time, or every few milliseconds.
class Signal {
public:
    void Notify() {
        const std::lock_guard lock(m_mutex);
        ++m_count;
        m_changed.notify_all();
    }
    template <typename Predicate>
    bool WaitFor(Predicate ready) {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!ready()) {
            std::unique_lock lock(m_mutex);
            if (m_changed.wait_until(lock,
                                     std::min(deadline, std::chrono::steady_clock::now() + 5ms)) ==
                    std::cv_status::timeout &&
                std::chrono::steady_clock::now() >= deadline) {
                return ready();
            }
        }
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_count = 0;
};

class BackgroundLoadTest : public ::testing::Test {
protected:
    BackgroundLoadTest() {
        for (const char* name :
             {"a.png", "b/c.png", "b/d.png", "e.png", "f.txt", "g.png", "h.png", "b/i.png"}) {
            tree.File(std::string("images/") + name);
        }
        CAppSettings soundMap(tree.Root(), tree);
        WriteSoundIndex(soundMap, "e.png", 1);
        WriteSoundIndex(soundMap, "b\\d.png", 7);  // outside the sound list: random
        rules.soundCount = 3;
        atOnce = Fresh();
    }

    static AtOnce Fresh() {
        AtOnce fresh;
        fresh.bad = {"f.txt", "c.png"};
        return fresh;
    }

    std::unique_ptr<BackgroundLoad<FakePicture>> Start(PictureWorker& worker) {
        auto decode = [bad = atOnce.bad](bool large) {
            return [bad, large](const std::string& path) {
                return bad.contains(NameOf(path)) ? FakePicture{}
                                                  : FakePicture{NameOf(path), large};
            };
        };
        return std::make_unique<BackgroundLoad<FakePicture>>(
            worker, tree, tree.Root(), CAppSettings(tree.Root(), tree), rules, decode(false),
            decode(true), [this] { signal.Notify(); });
    }

    // The table the background load fills, as the owner's thread takes it.
    void ExpectSameTableAsAtOnce() {
        const PictureLoadResult expected =
            LoadPictureTable(tree, tree.Root(), CAppSettings(tree.Root(), tree), rules, atOnce);
        PictureWorker worker;
        auto load = Start(worker);
        std::map<int, std::string> slots;
        std::map<int, int> sounds;
        PictureLoadResult result;
        ASSERT_TRUE(signal.WaitFor([&] {
            const bool done = load->Done(result);  // before the take: nothing comes after it
            for (auto& loaded : load->TakeLoaded()) {
                EXPECT_FALSE(loaded.picture.large);
                slots[loaded.slot] = loaded.picture.name;
                sounds[loaded.slot] = loaded.sound;
            }
            return done;
        }));
        EXPECT_EQ(slots, atOnce.slots);
        EXPECT_EQ(sounds, atOnce.sounds);
        EXPECT_EQ(result.count, expected.count);
        EXPECT_EQ(result.sounds, expected.sounds);
        EXPECT_EQ(result.unreadableNames, expected.unreadableNames);
    }

    MemoryTree tree;
    PictureLoadRules rules;
    AtOnce atOnce;
    Signal signal;
};

TEST_F(BackgroundLoadTest, FillsTheSameSlotsAsLoadingAtOnce) {
    rules.maxCount = 5;
    ExpectSameTableAsAtOnce();
    EXPECT_EQ(atOnce.slots.size(), 5u);  // the bound and the undecodable files took part
    EXPECT_EQ(atOnce.sounds.at(3), 1);

    atOnce = Fresh();
    rules.settings.displayOrder = DisplayOrder::kStored;
    rules.settings.pictureOrder = {"g.png", "b\\d.png", "a.png", "gone.png", "e.png"};
    ExpectSameTableAsAtOnce();
    EXPECT_EQ(atOnce.slots.at(0), "g.png");

    // In order, an undecodable listed file is named and the files after it still load.
    atOnce = Fresh();
    rules.settings.pictureOrder = {"a.png", "b\\c.png", "e.png"};
    ExpectSameTableAsAtOnce();
    EXPECT_EQ(atOnce.slots, (std::map<int, std::string>{{0, "a.png"}, {2, "e.png"}}));
}

TEST_F(BackgroundLoadTest, LargeCopiesComeForLoadedSlotsOnly) {
    PictureWorker worker;
    auto load = Start(worker);
    PictureLoadResult result;
    ASSERT_TRUE(signal.WaitFor([&] { return load->Done(result); }));
    ASSERT_GE(result.count, 2);
    load->RequestLarge(1);
    load->RequestLarge(result.count);  // no picture there: nothing comes
    load->RequestLarge(-1);
    std::vector<BackgroundLoad<FakePicture>::Loaded> large;
    ASSERT_TRUE(signal.WaitFor([&] {
        for (auto& copy : load->TakeLarge()) {
            large.push_back(std::move(copy));
        }
        return !large.empty();
    }));
    worker.Post([] {});  // anything still queued has run once this has
    std::this_thread::sleep_for(50ms);
    ASSERT_EQ(large.size() + load->TakeLarge().size(), 1u);
    EXPECT_EQ(large[0].slot, 1);
    EXPECT_EQ(large[0].picture.name, "d.png");
    EXPECT_TRUE(large[0].picture.large);
}

TEST(PictureWorker, UrgentJobsGoFirstAndDroppedOnesNeverRun) {
    std::mutex mutex;
    std::vector<int> order;
    auto record = [&](int n) {
        return [&, n] {
            const std::lock_guard lock(mutex);
            order.push_back(n);
        };
    };
    std::mutex gate;
    std::unique_lock hold(gate);
    {
        PictureWorker worker;
        // The first job waits at the gate while the others queue up behind it; between its
        // steps it lets the urgent ones run.
        std::atomic<bool> started = false;
        worker.Post([&] {
            started = true;
            const std::lock_guard pass(gate);
            record(0)();
            worker.RunUrgent();
            record(1)();
        });
        Signal running;
        ASSERT_TRUE(running.WaitFor([&] { return started.load(); }));
        worker.Post(record(10));
        worker.Post(record(20), true);
        worker.Post(record(11));
        worker.Post(record(21), true);
        hold.unlock();
        Signal done;
        worker.Post([&] { done.Notify(); });
        std::atomic<bool> finished = false;
        worker.Post([&] { finished = true; });
        ASSERT_TRUE(done.WaitFor([&] { return finished.load(); }));
        // Queued behind a job that holds the worker, then dropped.
        hold.lock();
        worker.Post([&] { const std::lock_guard pass(gate); });
        worker.Post(record(99));
        std::this_thread::sleep_for(20ms);
        worker.DropQueued();
        hold.unlock();
    }
    EXPECT_EQ(order, (std::vector<int>{0, 20, 21, 1, 10, 11}));
}

}  // namespace
}  // namespace zz
