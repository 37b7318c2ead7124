#include "view/picture_loader.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "dialog_test_support.h"
#include "settings/app_settings.h"
#include "settings/media_library.h"

namespace zz {
namespace {

using Slots = std::map<int, std::string>;

// Decodes every file but the ones named bad, and remembers which slot got which file.
struct FakeDecoder : IPictureDecoder {
    std::set<std::string> bad;
    Slots slots;
    bool LoadSlot(int slot, const std::string& path) override {
        slots.erase(slot);
        const std::string name = path.substr(path.find_last_of("/\\") + 1);
        return !bad.contains(name) && slots.emplace(slot, name).second;
    }
};

class PictureLoaderTest : public ::testing::Test {
protected:
    PictureLoadResult Load() {
        decoder.slots.clear();
        return LoadPictureTable(tree, tree.Root(), CAppSettings(tree.Root(), tree), rules, decoder);
    }

    test::MemoryTree tree;
    FakeDecoder decoder;
    PictureLoadRules rules;
};

TEST_F(PictureLoaderTest, RandomOrderTakesTheFirstDecodableFilesDepthFirstWithTheirSounds) {
    for (const char* name : {"a.png", "b/c.png", "b/d.png", "e.png", "f.txt", "g.png"}) {
        tree.File(std::string("images/") + name);
    }
    CAppSettings soundMap(tree.Root(), tree);
    ASSERT_TRUE(WriteSoundIndex(soundMap, "a.png", 2));
    ASSERT_TRUE(WriteSoundIndex(soundMap, "b\\c.png", 5));
    rules.soundCount = 3;
    decoder.bad = {"f.txt"};
    rules.maxCount = 4;
    const PictureLoadResult result = Load();
    EXPECT_EQ(result.count, 4);
    EXPECT_EQ(decoder.slots, (Slots{{0, "a.png"}, {1, "c.png"}, {2, "d.png"}, {3, "e.png"}}));
    EXPECT_TRUE(result.unreadableNames.empty()) << "random order skips silently";
    EXPECT_EQ(result.sounds[0], 2);
    EXPECT_EQ(result.sounds[1], -1) << "index beyond the sound list means a random sound";
    EXPECT_EQ(result.sounds[2], -1) << "no stored sound means a random sound";
    // An undecodable file takes no slot: the next one takes its place.
    decoder.bad = {"c.png", "f.txt"};
    EXPECT_EQ(Load().count, 4);
    EXPECT_EQ(decoder.slots.at(1), "d.png");
    EXPECT_EQ(decoder.slots.at(3), "g.png");
}

TEST_F(PictureLoaderTest, InOrderLoadsOnlyListedFilesOfTheGroupInTheirListSlots) {
    for (const char* name : {"animals/cow.png", "animals/dog.png", "cat.png", "b.png"}) {
        tree.File(std::string("images/") + name);
    }
    rules.displayOrder = 1;
    rules.order = {"b.png", "cat.png", "gone.png"};
    EXPECT_EQ(Load().count, 2);
    EXPECT_EQ(decoder.slots, (Slots{{0, "b.png"}, {1, "cat.png"}}));
    // Listed files that cannot be decoded are skipped like missing ones and named; the files
    // after them still load.
    decoder.bad = {"b.png", "cat.png"};
    rules.order = {"b.png", "cat.png", "animals\\dog.png"};
    const PictureLoadResult withBad = Load();
    EXPECT_EQ(withBad.unreadableNames, (std::vector<std::string>{"b.png", "cat.png"}));
    EXPECT_EQ(withBad.count, 1);
    EXPECT_EQ(decoder.slots, (Slots{{2, "dog.png"}}));
    decoder.bad.clear();
    rules.group = "animals";
    rules.order = {"animals\\dog.png", "cat.png", "animals\\cow.png"};
    EXPECT_EQ(Load().count, 2);
    EXPECT_EQ(decoder.slots, (Slots{{0, "dog.png"}, {1, "cow.png"}}));
    // Names the code page cannot hold are listed as the file holds them, with '?'.
    tree.File("images/〜あか/r.png");
    rules.group = "〜あか";
    rules.order = {"あお\\b.png", "?あか\\r.png"};
    EXPECT_EQ(Load().count, 1);
    EXPECT_EQ(decoder.slots, (Slots{{0, "r.png"}}));
    rules.encoding = TextEncoding::kUtf16Le;
    EXPECT_EQ(Load().count, 0);
    // The start-up choice loads the whole images folder.
    rules.displayOrder = 0;
    rules.group = std::string(kGroupChooseAtStart);
    EXPECT_EQ(Load().count, 5);
}

}  // namespace
}  // namespace zz
