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

const std::set<std::string> kBad = {"c.png", "f.txt", "cat.png"};
const std::string kLongGroup = "のりものとどうぶつのえほん";  // longer than a string's own buffer

using Fills = std::vector<std::tuple<int, std::string, int>>;  // slot, file, sound

// The load one file at a time.
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
        for (const std::string& name :
             test::Names{"a.png", "b/c.png", "b/d.png", "e.png", "f.txt", "g.png",
                         kLongGroup + "/bus.png", kLongGroup + "/cat.png", "〜あか/r.png"}) {
            tree.File("images/" + name);
        }
        CAppSettings soundMap(tree.Root(), tree);
        EXPECT_TRUE(
            soundMap.WriteInts(kSoundMapSection, {{"a.png", 2}, {"b\\d.png", 3}, {"e.png", 1}}));
        std::tie(rules.maxCount, rules.soundCount) = std::tuple(4, 3);
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

// In random order the first decodable files of the walk take slots 0, 1, ...; in the stored
// order only the listed files of the group, each in its place among the group's entries, and
// listed files that cannot be decoded are named and leave their slots empty. In the background,
// with one decoding thread or two, the slots fill the same, in walk order even when a later file
// is decoded first; in random order no picture is decoded that takes no slot, so memory holds
// the table's pictures at most. In the sanitized tree the long group's name caught a view of a
// destroyed copy.
TEST_F(BackgroundLoadTest, FillsSlotsByEitherOrdersRulesAsLoadingOneFileAtATimeDoes) {
    using enum DisplayOrder;
    const std::string g = kLongGroup + "\\";
    const test::Names inLongGroup = {g + "gone.png", "a.png", g + "cat.png", g + "bus.png"};
    test::Names tooLong(kPictureSlots, "gone.png");  // what a list names past the table takes none
    tooLong.push_back("a.png");
    const Fills random = {{0, "a.png", 2}, {1, "d.png", -1}, {2, "e.png", 1}, {3, "g.png", -1}};
    struct Case {
        DisplayOrder order;
        std::string_view group;
        test::Names list;
        Fills expected;
        test::Names unreadable;
    };
    const Case cases[] = {
        {kRandom, "", {}, random, {}},                 // 3 is past the sound list: random
        {DisplayOrder{5}, "", {"g.png"}, random, {}},  // no radio shows it: loads as random does
        {kStored, kLongGroup, inLongGroup, {{2, "bus.png", -1}}, {"cat.png"}},
        // The list holds a name the code page cannot hold as the file does, with '?'.
        {kStored, "〜あか", {"あお\\b.png", "?あか\\r.png"}, {{0, "r.png", -1}}, {}},
        {kStored,
         kGroupChooseAtStart,
         {"e.png", "b\\d.png"},
         {{1, "d.png", -1}, {0, "e.png", 1}},
         {}},
        {kStored, kGroupChooseAtStart, tooLong, {}, {}}};
    for (const auto& [order, group, list, expected, unreadable] : cases) {
        std::tie(rules.settings.displayOrder, rules.settings.group, rules.settings.pictureOrder) =
            std::tuple(order, std::string(group), list);
        AtOnce atOnce;
        const PictureLoadResult once =
            LoadPictureTable(tree, tree.Root(), CAppSettings(tree.Root(), tree), rules, atOnce);
        EXPECT_EQ(std::tuple(atOnce.fills, once.count, once.unreadableNames),
                  std::tuple(expected, int(expected.size()), unreadable));
        for (const int threads : {1, 2}) {
            SCOPED_TRACE(testing::Message() << group << " " << list.size() << ", " << threads);
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
                      std::tuple(expected, once.count, unreadable));
            EXPECT_TRUE(order != kRandom || decodedPictures == result.count);
        }
    }
    rules.settings.encoding = TextEncoding::kUtf16Le;  // a Unicode file holds names as they are
    std::tie(rules.settings.group, rules.settings.pictureOrder) =
        std::tuple("〜あか", test::Names{"?あか\\r.png"});
    AtOnce utf16;
    EXPECT_EQ(
        LoadPictureTable(tree, tree.Root(), CAppSettings(tree.Root(), tree), rules, utf16).count,
        0);
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
