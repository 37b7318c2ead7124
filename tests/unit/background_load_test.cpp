#include "view/background_load.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <iterator>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "settings/media_library.h"
#include "tests/support/memory_tree.h"

namespace zz {
namespace {

using test::MemoryTree;
using namespace std::chrono_literals;

std::string NameOf(const std::string& path) {
    return path.substr(path.find_last_of("/\\") + 1);
}

// A decoded picture as these tests see it: the file name and the size asked for, if any.
struct FakePicture {
    std::string name;
    int width = 0;
    explicit operator bool() const { return !name.empty(); }
};

using Fills = std::vector<std::pair<int, std::string>>;  // slot and file, in the order filled

// The load one file at a time, through the same slot rules, as the fills it makes.
struct AtOnce : IPictureDecoder {
    std::set<std::string> bad;
    Fills fills;
    std::map<int, int> sounds;
    std::string pending;
    bool LoadSlot(int, const std::string& path) override {
        pending = NameOf(path);
        return !bad.contains(pending);
    }
    void SlotFilled(int slot, int sound) override {
        fills.emplace_back(slot, pending);
        sounds[slot] = sound;
    }
};

// Notified by the worker; the test thread looks again each time, or every few milliseconds.
class Signal {
public:
    void Notify() {
        const std::lock_guard lock(m_mutex);
        m_changed.notify_all();
    }
    template <typename Predicate>
    bool WaitFor(Predicate ready) {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!ready()) {
            if (std::chrono::steady_clock::now() >= deadline) {
                return ready();
            }
            std::unique_lock lock(m_mutex);
            m_changed.wait_for(lock, 5ms);
        }
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
};

class BackgroundLoadTest : public ::testing::Test {
protected:
    using Load = BackgroundLoad<FakePicture>;

    BackgroundLoadTest() {
        for (const char* name :
             {"a.png", "b/c.png", "b/d.png", "e.png", "f.txt", "g.png", "h.png", "b/i.png"}) {
            tree.File(std::string("images/") + name);
        }
        CAppSettings soundMap(tree.Root(), tree);
        WriteSoundIndex(soundMap, "e.png", 1);
        WriteSoundIndex(soundMap, "b\\d.png", 7);  // outside the sound list: random
        rules.soundCount = 3;
    }

    // decode runs for every file the load decodes, before the picture is made.
    std::unique_ptr<Load> Start(PictureWorker& worker,
                                std::function<void(const std::string&, std::stop_token)> decode) {
        return std::make_unique<Load>(
            worker, tree, tree.Root(), CAppSettings(tree.Root(), tree), rules,
            [this, decode](const std::string& path, std::stop_token stop) {
                decode(NameOf(path), stop);
                return kBad.contains(NameOf(path)) ? FakePicture{} : FakePicture{NameOf(path)};
            },
            [](const std::string& path, int width, int, std::stop_token) {
                return FakePicture{NameOf(path), width};
            },
            [this] { signal.Notify(); });
    }

    const std::set<std::string> kBad{"f.txt", "c.png"};
    MemoryTree tree;
    PictureLoadRules rules;
    Signal signal;
};

// Slots fill in walk order with one decoding thread or two, even when a later file is decoded
// first; in random order no picture is decoded that takes no slot, so memory holds the table's
// pictures at most.
TEST_F(BackgroundLoadTest, FillsTheSameSlotsInTheSameOrderAsLoadingOneFileAtATime) {
    struct Case {
        int displayOrder;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {0, {}},
        {1, {"g.png", "b\\d.png", "a.png", "gone.png", "e.png"}},
        {1, {"a.png", "b\\c.png", "e.png"}},  // c.png is named, e.png still loads
    };
    for (const Case& c : cases) {
        for (const int threads : {1, 2}) {
            SCOPED_TRACE(testing::Message() << "order " << c.displayOrder << ", " << threads);
            rules.maxCount = 5;
            rules.settings.displayOrder = DisplayOrder{c.displayOrder};
            rules.settings.pictureOrder = c.order;
            AtOnce atOnce;
            atOnce.bad = kBad;
            const PictureLoadResult expected =
                LoadPictureTable(tree, tree.Root(), CAppSettings(tree.Root(), tree), rules, atOnce);

            // With two threads a.png waits until a picture walked after it has been decoded.
            std::mutex mutex;
            std::condition_variable overtaken;
            std::set<std::string> decoded;
            PictureWorker worker(threads);
            auto load = Start(worker, [&](const std::string& name, std::stop_token) {
                std::unique_lock lock(mutex);
                if (threads == 2 && name == "a.png") {
                    EXPECT_TRUE(overtaken.wait_for(lock, 10s, [&] {
                        return std::any_of(decoded.begin(), decoded.end(),
                                           [&](const std::string& n) { return !kBad.contains(n); });
                    }));
                }
                decoded.insert(name);
                overtaken.notify_all();
            });
            Fills fills;
            std::map<int, int> sounds;
            PictureLoadResult result;
            ASSERT_TRUE(signal.WaitFor([&] {
                const bool done = load->Done(result);  // before the take: nothing comes after it
                for (auto& loaded : load->TakeLoaded()) {
                    fills.emplace_back(loaded.slot, loaded.picture.name);
                    sounds[loaded.slot] = loaded.sound;
                }
                return done;
            }));
            EXPECT_EQ(fills, atOnce.fills);
            EXPECT_EQ(sounds, atOnce.sounds);
            EXPECT_EQ(result.count, expected.count);
            EXPECT_EQ(result.sounds, expected.sounds);
            EXPECT_EQ(result.unreadableNames, expected.unreadableNames);
            if (c.displayOrder == 0) {
                const std::lock_guard lock(mutex);
                std::set<std::string> pictures;
                std::set_difference(decoded.begin(), decoded.end(), kBad.begin(), kBad.end(),
                                    std::inserter(pictures, pictures.end()));
                EXPECT_EQ(int(pictures.size()), result.count);
            }
        }
    }
}

// A copy comes for a wish of a loaded slot; a wish dropped before its copy was begun is never
// made, and a wish repeated is made once.
TEST_F(BackgroundLoadTest, WishedCopiesComeForLoadedSlotsAndDroppedWishesNever) {
    PictureWorker worker;
    auto load = Start(worker, [](const std::string&, std::stop_token) {});
    PictureLoadResult result;
    ASSERT_TRUE(signal.WaitFor([&] { return load->Done(result); }));
    ASSERT_GE(result.count, 3);
    std::mutex gate;
    std::unique_lock hold(gate);
    std::atomic<bool> holding = false;
    worker.Post([&] {  // holds the worker while the wishes change
        holding = true;
        const std::lock_guard pass(gate);
    });
    ASSERT_TRUE(signal.WaitFor([&] { return holding.load(); }));
    load->WishFor({{2, 320, 240}, {result.count, 640, 480}, {-1, 640, 480}});
    load->WishFor({{1, 640, 480}, {1, 640, 480}});  // 2 dropped; nothing there for the others
    load->WishFor({{1, 640, 480}});
    hold.unlock();
    std::vector<Load::Loaded> sized;
    ASSERT_TRUE(signal.WaitFor([&] {
        for (auto& copy : load->TakeSized()) {
            sized.push_back(std::move(copy));
        }
        return !sized.empty();
    }));
    worker.Post([] {});  // anything still queued has run once this has
    std::this_thread::sleep_for(50ms);
    ASSERT_EQ(sized.size() + load->TakeSized().size(), 1u);
    EXPECT_EQ(sized[0].slot, 1);
    EXPECT_EQ(sized[0].picture.name, "d.png");
    EXPECT_EQ(sized[0].picture.width, 640);
}

// Once the load is dropped, the files being decoded are told to stop and nothing more is
// listed or decoded, however many folders are left: the walk's bound never counts files that
// cannot be decoded, so it is not what ends an abandoned walk.
TEST_F(BackgroundLoadTest, ADroppedLoadStopsWithinTheFilesItDecodes) {
    for (int i = 0; i < 50; ++i) {
        tree.File("images/z" + std::to_string(i) + "/notes.txt");
    }
    std::mutex mutex;
    std::condition_variable changed;
    int started = 0;
    int stopped = 0;
    std::size_t listedAtDrop = 0;
    {
        PictureWorker worker(2);
        auto load = Start(worker, [&](const std::string&, std::stop_token stop) {
            {
                const std::lock_guard lock(mutex);
                ++started;
            }
            changed.notify_all();
            // As a codec does between its reads.
            const auto deadline = std::chrono::steady_clock::now() + 10s;
            while (!stop.stop_requested() && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(1ms);
            }
            const std::lock_guard lock(mutex);
            stopped += stop.stop_requested() ? 1 : 0;
        });
        {
            std::unique_lock lock(mutex);
            ASSERT_TRUE(changed.wait_for(lock, 10s, [&] { return started == 2; }));
            listedAtDrop = tree.Listed().size();  // both threads wait in a decode: none walks
        }
        load.reset();
    }  // the worker's threads have ended here
    EXPECT_EQ(started, 2);
    EXPECT_EQ(stopped, 2);
    EXPECT_EQ(tree.Listed().size(), listedAtDrop);
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
