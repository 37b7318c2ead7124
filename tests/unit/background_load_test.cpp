#include "view/background_load.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
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

// A decoded picture as this test sees it: the file name.
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

// Random order fills slots in walk order; the stored order puts each listed file of the group in
// its list place and names those that cannot be decoded. The background load, on one thread or
// two, fills the same, and in random order decodes no picture without a slot. The long group's
// name caught a view of a destroyed copy in the sanitized tree.
TEST(BackgroundLoadTest, FillsSlotsByEitherOrdersRulesAsLoadingOneFileAtATimeDoes) {
    using enum DisplayOrder;
    test::MemoryTree tree;
    for (const std::string& name :
         test::Names{"a.png", "b/c.png", "b/d.png", "e.png", "f.txt", "g.png",
                     kLongGroup + "/bus.png", kLongGroup + "/cat.png", "〜あか/r.png"}) {
        tree.File("images/" + name);
    }
    CAppSettings soundMap(tree.Root(), tree);
    ASSERT_TRUE(
        soundMap.WriteInts(kSoundMapSection, {{"a.png", 2}, {"b\\d.png", 3}, {"e.png", 1}}));
    PictureLoadRules rules;
    std::tie(rules.maxCount, rules.soundCount) = std::tuple(4, 3);
    const std::string g = kLongGroup + "\\";
    const test::Names inLongGroup = {g + "gone.png", "a.png", g + "cat.png", g + "bus.png"};
    test::Names tooLong(kPictureSlots, "gone.png");  // what a list names past the table takes none
    tooLong.push_back("a.png");
    const Fills random = {{0, "a.png", 2}, {1, "d.png", -1}, {2, "e.png", 1}, {3, "g.png", -1}};
    // The order, group and list; the slots filled, and the listed files that cannot be decoded.
    const std::tuple<DisplayOrder, std::string_view, test::Names, Fills, test::Names> cases[] = {
        {kRandom, "", {}, random, {}},  // 3 is past the sound list: random
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
        const PictureLoadResult once = LoadPictureTable(tree, tree.Root(), soundMap, rules, atOnce);
        EXPECT_EQ(std::tuple(atOnce.fills, once.count, once.unreadableNames),
                  std::tuple(expected, int(expected.size()), unreadable));
        for (const int threads : {1, 2}) {
            SCOPED_TRACE(testing::Message() << group << " " << list.size() << ", " << threads);
            // With two threads a.png waits until a picture walked after it has been decoded.
            std::atomic<int> decodedPictures = 0;
            PictureWorker worker(threads);
            auto decode = [&](const std::string& path, std::stop_token) {
                const std::string name = NameOf(path);
                if (threads == 2 && name == "a.png") {
                    EXPECT_TRUE(Eventually([&] { return decodedPictures > 0; }));
                }
                decodedPictures += kBad.contains(name) ? 0 : 1;
                return kBad.contains(name) ? FakePicture{} : FakePicture{name};
            };
            const auto load = std::make_unique<BackgroundLoad<FakePicture>>(
                worker, tree, tree.Root(), soundMap, rules, decode,
                [](const std::string&, int, int, std::stop_token) { return FakePicture{}; }, [] {});
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
}

}  // namespace
}  // namespace zz
