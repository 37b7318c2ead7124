#include "view/background_load.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "settings/media_library.h"
#include "tests/support/memory_tree.h"

namespace zz {
namespace {

using namespace std::chrono_literals;

std::string NameOf(const std::string& path) {
    return path.substr(path.find_last_of("/\\") + 1);
}

// A decoded picture as these tests see it: the file name, and the width of a copy.
using FakePicture = std::optional<std::string>;

const std::set<std::string> kBad = {"f.txt", "c.png"};

using Fills = std::vector<std::tuple<int, std::string, int>>;  // slot, file, sound

// The load one file at a time, through the same slot rules.
struct AtOnce : IPictureDecoder {
    Fills fills;
    std::string pending;
    bool LoadSlot(int, const std::string& path) override {
        return !kBad.contains(pending = NameOf(path));
    }
    void SlotFilled(int slot, int sound) override { fills.emplace_back(slot, pending, sound); }
};

// Polls, for the worker's threads run on their own.
template <typename Predicate>
bool Eventually(Predicate ready) {
    for (const auto deadline = std::chrono::steady_clock::now() + 10s; !ready();
         std::this_thread::sleep_for(1ms)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
    }
    return true;
}

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
            [decode](const std::string& path, std::stop_token stop) {
                decode(NameOf(path), stop);
                return kBad.contains(NameOf(path)) ? FakePicture{} : FakePicture{NameOf(path)};
            },
            [](const std::string& path, int width, int, std::stop_token) {
                return FakePicture{NameOf(path) + " " + std::to_string(width)};
            },
            [] {});
    }

    test::MemoryTree tree;
    PictureLoadRules rules;
};

// Slots fill in walk order with one decoding thread or two, even when a later file is decoded
// first; in random order no picture is decoded that takes no slot, so memory holds the table's
// pictures at most.
TEST_F(BackgroundLoadTest, FillsTheSameSlotsInTheSameOrderAsLoadingOneFileAtATime) {
    const std::vector<std::string> orders[] = {
        {},  // random
        {"g.png", "b\\d.png", "a.png", "gone.png", "e.png"},
        {"a.png", "b\\c.png", "e.png"}};  // c.png is named, e.png still loads
    for (const auto& order : orders) {
        for (const int threads : {1, 2}) {
            SCOPED_TRACE(testing::Message() << order.size() << " listed, " << threads);
            rules.maxCount = 5;
            rules.settings.displayOrder =
                order.empty() ? DisplayOrder::kRandom : DisplayOrder::kStored;
            rules.settings.pictureOrder = order;
            AtOnce atOnce;
            const PictureLoadResult expected =
                LoadPictureTable(tree, tree.Root(), CAppSettings(tree.Root(), tree), rules, atOnce);
            // With two threads a.png waits until a picture walked after it has been decoded.
            std::atomic<int> decodedPictures = 0;
            PictureWorker worker(threads);
            auto load = Start(worker, [&](const std::string& name, std::stop_token) {
                if (threads == 2 && name == "a.png") {
                    EXPECT_TRUE(Eventually([&] { return decodedPictures > 0; }));
                }
                decodedPictures += kBad.contains(name) ? 0 : 1;
            });
            Fills fills;
            PictureLoadResult result;
            ASSERT_TRUE(Eventually([&] {
                const bool done = load->Done(result);  // before the take: nothing comes after it
                for (auto& loaded : load->TakeLoaded()) {
                    fills.emplace_back(loaded.slot, *loaded.picture, loaded.sound);
                }
                return done;
            }));
            EXPECT_EQ(std::tuple(fills, result.count, result.unreadableNames),
                      std::tuple(atOnce.fills, expected.count, expected.unreadableNames));
            EXPECT_TRUE(!order.empty() || decodedPictures == result.count);
        }
    }
}

// A copy comes for a wish of a loaded slot; a wish dropped before its copy was begun is never
// made, and a wish repeated is made once.
TEST_F(BackgroundLoadTest, WishedCopiesComeForLoadedSlotsAndDroppedWishesNever) {
    PictureWorker worker;
    auto load = Start(worker, [](const std::string&, std::stop_token) {});
    PictureLoadResult result;
    ASSERT_TRUE(Eventually([&] { return load->Done(result); }));
    ASSERT_GE(result.count, 3);
    std::promise<void> gate;
    std::atomic<bool> holding = false;
    worker.Post([&] {  // holds the worker while the wishes change
        holding = true;
        gate.get_future().wait_for(10s);
    });
    ASSERT_TRUE(Eventually([&] { return holding.load(); }));
    load->WishFor({{2, 320, 240}, {result.count, 640, 480}, {-1, 640, 480}});
    load->WishFor({{1, 640, 480}, {1, 640, 480}});  // 2 dropped; nothing there for the others
    load->WishFor({{1, 640, 480}});
    gate.set_value();
    // Urgent jobs run in the order posted: the copies are all made once this has run.
    std::atomic<bool> after = false;
    worker.Post([&] { after = true; }, true);
    ASSERT_TRUE(Eventually([&] { return after.load(); }));
    const std::vector<Load::Loaded> sized = load->TakeSized();
    ASSERT_EQ(sized.size(), 1u);
    EXPECT_EQ(std::pair(sized[0].slot, *sized[0].picture), std::pair(1, std::string("d.png 640")));
}

// Once the load is dropped, the files being decoded are told to stop and nothing more is
// listed or decoded, however many folders are left: the walk's bound never counts files that
// cannot be decoded, so it is not what ends an abandoned walk.
TEST_F(BackgroundLoadTest, ADroppedLoadStopsWithinTheFilesItDecodes) {
    for (int i = 0; i < 50; ++i) {
        tree.File("images/z" + std::to_string(i) + "/notes.txt");
    }
    std::atomic<int> started = 0;
    std::atomic<int> stopped = 0;
    std::size_t listedAtDrop = 0;
    {
        PictureWorker worker(2);
        auto load = Start(worker, [&](const std::string&, std::stop_token stop) {
            ++started;
            // As a codec does between its reads.
            Eventually([&] { return stop.stop_requested(); });
            stopped += stop.stop_requested() ? 1 : 0;
        });
        ASSERT_TRUE(Eventually([&] { return started == 2; }));
        listedAtDrop = tree.Listed().size();  // both threads wait in a decode: none walks
        load.reset();
    }  // the worker's threads have ended here
    EXPECT_EQ(started, 2);
    EXPECT_EQ(stopped, 2);
    EXPECT_EQ(tree.Listed().size(), listedAtDrop);
}

thread_local bool t_setUp = false;

// Each thread is set up before its jobs (the platform's per-thread set-up). Urgent jobs go
// first, also between the steps of a long job; queued jobs dropped, or left at the end, never
// run, so that an abandoned load or the program's end waits for no copy nobody will see.
TEST(PictureWorker, UrgentJobsGoFirstAndDroppedOnesNeverRun) {
    std::mutex mutex;
    std::vector<int> order;
    auto record = [&](int n) {
        return [&, n] {
            const std::lock_guard lock(mutex);
            order.push_back(t_setUp ? n : -n);
        };
    };
    std::atomic<int> ended = 0;
    std::promise<void> gates[3];
    {
        PictureWorker worker(
            1, [] { t_setUp = true; }, [&] { ++ended; });
        std::atomic<int> waiting = 0;
        // Held at a gate while others queue up behind it; between its steps it runs the urgent.
        auto held = [&](int gate, int first) {
            worker.Post([&, gate, first] {
                ++waiting;
                gates[gate].get_future().wait_for(10s);
                record(first)();
                worker.RunUrgent();
                record(first + 1)();
            });
            return Eventually([&] { return waiting == gate + 1; });
        };
        ASSERT_TRUE(held(0, 0));
        worker.Post(record(10));
        worker.Post(record(20), true);
        worker.Post(record(11));
        worker.Post(record(21), true);
        gates[0].set_value();
        ASSERT_TRUE(held(1, 2));
        worker.Post(record(97), true);
        worker.Post(record(98));
        worker.DropQueued();
        gates[1].set_value();
        ASSERT_TRUE(held(2, 4));
        // Opens the gate once the worker's end has dropped it.
        auto opener = std::shared_ptr<void>(nullptr, [&](void*) { gates[2].set_value(); });
        worker.Post([&, opener] { record(99)(); }, true);
        opener.reset();
    }
    EXPECT_EQ(order, (std::vector<int>{0, 20, 21, 1, 10, 11, 2, 3, 4, 5}));
    EXPECT_EQ(ended, 1);
}

}  // namespace
}  // namespace zz
