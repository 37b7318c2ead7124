#include "view/picture_loader.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "settings/app_settings.h"
#include "tests/support/memory_tree.h"

namespace zz {
namespace {

using Slots = std::map<int, std::string>;

// In random order the first decodable files of the walk take slots 0, 1, ...; in the stored
// order only the listed files of the group, each in its place among the group's entries, and
// listed files that cannot be decoded are named and leave their slots empty.
TEST(PictureLoader, FillsSlotsByEitherOrdersRules) {
    const std::string group = "のりものとどうぶつのえほん";  // longer than a string's own buffer
    test::MemoryTree tree;
    for (const std::string& name :
         test::Names{"a.png", "b/c.png", "b/d.png", "e.png", "f.txt", "g.png", group + "/bus.png",
                     group + "/cat.png", "〜あか/r.png"}) {
        tree.File("images/" + name);
    }
    CAppSettings store(tree.Root(), tree);
    ASSERT_TRUE(store.WriteInts(kSoundMapSection, {{"a.png", 2}, {"b\\d.png", 3}, {"e.png", 1}}));
    struct : IPictureDecoder {
        std::set<std::string> bad = {"c.png", "f.txt", "cat.png"};
        Slots slots;
        bool LoadSlot(int slot, const std::string& path) override {
            const std::string name = path.substr(path.find_last_of("/\\") + 1);
            return !bad.contains(name) && slots.emplace(slot, name).second;
        }
    } decoder;
    PictureLoadRules rules;
    std::tie(rules.maxCount, rules.soundCount) = std::tuple(4, 3);
    const auto load = [&] {
        decoder.slots.clear();
        return LoadPictureTable(tree, tree.Root(), store, rules, decoder);
    };
    PictureLoadResult result = load();
    EXPECT_EQ(decoder.slots, (Slots{{0, "a.png"}, {1, "d.png"}, {2, "e.png"}, {3, "g.png"}}));
    EXPECT_EQ(std::tuple(result.count, result.sounds[0], result.sounds[1], result.sounds[2]),
              std::tuple(4, 2, -1, 1));  // 3 is past the sound list: random
    EXPECT_TRUE(result.unreadableNames.empty());
    rules.settings.displayOrder = DisplayOrder{5};  // no radio shows it: loads as random does
    rules.settings.pictureOrder = {"g.png"};
    EXPECT_EQ(load().count, 4);

    rules.settings.displayOrder = DisplayOrder::kStored;
    rules.settings.group = group;
    rules.settings.pictureOrder = {group + "\\gone.png", "a.png", group + "\\cat.png",
                                   group + "\\bus.png"};
    result = load();
    EXPECT_EQ(std::tuple(result.count, decoder.slots, result.unreadableNames),
              std::tuple(1, Slots{{2, "bus.png"}}, test::Names{"cat.png"}));
    // The list holds a name the code page cannot hold as the file does, with '?'.
    rules.settings.group = "〜あか";
    rules.settings.pictureOrder = {"あお\\b.png", "?あか\\r.png"};
    EXPECT_EQ(std::pair(load().count, decoder.slots), std::pair(1, Slots{{0, "r.png"}}));
    rules.settings.encoding = TextEncoding::kUtf16Le;
    EXPECT_EQ(load().count, 0);
    rules.settings.group = kGroupChooseAtStart;  // the start-up choice: the whole folder
    rules.settings.pictureOrder = {"e.png", "b\\d.png"};
    EXPECT_EQ(std::pair(load().count, decoder.slots),
              std::pair(2, Slots{{0, "e.png"}, {1, "d.png"}}));
    // A hand-edited list longer than the table: what it names past the last slot takes none.
    rules.settings.pictureOrder.assign(kPictureSlots, "gone.png");
    rules.settings.pictureOrder.push_back("a.png");
    EXPECT_EQ(std::pair(load().count, decoder.slots), std::pair(0, Slots{}));
}

}  // namespace
}  // namespace zz
