#include "view/picture_loader.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "dialog_test_support.h"
#include "settings/app_settings.h"
#include "settings/media_library.h"

namespace zz {
namespace {

using test::MemoryTree;

// Decodes every file but the ones named bad, and remembers which slot got which file.
struct FakeDecoder : IPictureDecoder {
    std::set<std::string> bad;
    std::map<int, std::string> slots;
    bool LoadSlot(int slot, const std::string& path) override {
        slots.erase(slot);
        const std::string name = path.substr(path.find_last_of("/\\") + 1);
        if (bad.contains(name)) {
            return false;
        }
        slots[slot] = name;
        return true;
    }
};

class PictureLoaderTest : public ::testing::Test {
protected:
    PictureLoadResult Load() {
        CAppSettings soundMap(tree.Root(), tree);
        return LoadPictureTable(tree, tree.Root(), soundMap, rules, decoder);
    }

    MemoryTree tree;
    FakeDecoder decoder;
    PictureLoadRules rules;
};

TEST_F(PictureLoaderTest, RandomOrderTakesTheFirstDecodableFilesDepthFirst) {
    for (const char* name : {"a.png", "b/c.png", "b/d.png", "e.png", "f.txt", "g.png"}) {
        tree.File(std::string("images/") + name);
    }
    decoder.bad = {"f.txt"};
    rules.maxCount = 4;
    const PictureLoadResult result = Load();
    EXPECT_EQ(result.count, 4);
    EXPECT_EQ(decoder.slots,
              (std::map<int, std::string>{{0, "a.png"}, {1, "c.png"}, {2, "d.png"}, {3, "e.png"}}));
    EXPECT_TRUE(result.undecodableName.empty());

    // An undecodable file takes no slot: the next one takes its place.
    decoder.slots.clear();
    decoder.bad = {"c.png", "f.txt"};
    EXPECT_EQ(Load().count, 4);
    EXPECT_EQ(decoder.slots.at(1), "d.png");
    EXPECT_EQ(decoder.slots.at(3), "g.png");
}

TEST_F(PictureLoaderTest, InOrderLoadsOnlyListedFilesInTheirListSlots) {
    for (const char* name : {"a.png", "b.png", "c.png"}) {
        tree.File(std::string("images/") + name);
    }
    rules.displayOrder = 1;
    rules.order = {"b.png", "a.png", "gone.png"};
    const PictureLoadResult result = Load();
    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(decoder.slots, (std::map<int, std::string>{{0, "b.png"}, {1, "a.png"}}));

    // A listed file that cannot be decoded stops the load and is named.
    decoder.bad = {"a.png"};
    EXPECT_EQ(Load().undecodableName, "a.png");
}

TEST_F(PictureLoaderTest, InOrderWithAGroupNumbersTheGroupsEntries) {
    tree.File("images/animals/cow.png");
    tree.File("images/animals/dog.png");
    tree.File("images/cat.png");
    rules.displayOrder = 1;
    rules.group = "animals";
    rules.order = {"animals\\dog.png", "cat.png", "animals\\cow.png"};
    EXPECT_EQ(Load().count, 2);
    EXPECT_EQ(decoder.slots, (std::map<int, std::string>{{0, "dog.png"}, {1, "cow.png"}}));

    // The start-up choice loads the whole images folder.
    decoder.slots.clear();
    rules.displayOrder = 0;
    rules.group = std::string(kGroupChooseAtStart);
    EXPECT_EQ(Load().count, 3);
}

TEST_F(PictureLoaderTest, StoredSoundsAreCheckedAgainstTheSoundList) {
    tree.File("images/a.png");
    tree.File("images/g/b.png");
    tree.File("images/c.png");
    CAppSettings soundMap(tree.Root(), tree);
    ASSERT_TRUE(WriteSoundIndex(soundMap, "a.png", 2));
    ASSERT_TRUE(WriteSoundIndex(soundMap, "g\\b.png", 5));
    rules.soundCount = 3;
    const PictureLoadResult result = Load();
    ASSERT_EQ(result.count, 3);
    EXPECT_EQ(result.sounds[0], 2);
    EXPECT_EQ(result.sounds[1], -1) << "index beyond the sound list means a random sound";
    EXPECT_EQ(result.sounds[2], -1) << "no stored sound means a random sound";
}

}  // namespace
}  // namespace zz
