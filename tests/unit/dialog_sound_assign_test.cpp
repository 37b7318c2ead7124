#include <gtest/gtest.h>

#include "dialogs/settings_model.h"
#include "dialogs/sound_assign_model.h"
#include "settings/app_settings.h"
#include "settings/codepage932.h"
#include "settings/media_library.h"
#include "settings/settings_keys.h"
#include "tests/unit/dialog_test_support.h"

namespace zz {
namespace {

using test::Names;
using test::TempTree;

int Stored(const TempTree& tree, const std::string& key) {
    const CAppSettings store(tree.Root());
    return store.ReadInt(keys::kSoundFileSection, key, 99);
}

void StoreSound(const TempTree& tree, const std::string& key, int value) {
    CAppSettings store(tree.Root());
    ASSERT_TRUE(store.WriteInt(keys::kSoundFileSection, key, value));
}

SoundAssignModel Built(const TempTree& tree, int maxCount = 10) {
    SoundAssignModel model;
    model.m_nMaxCount = maxCount;
    CAppSettings store(tree.Root());
    store.Load();
    model.Build(SystemFileSystem(), tree.Root(), store);
    return model;
}

TEST(SoundAssignDialogTest, ListsEveryPictureOfEveryGroupWithItsStoredSound) {
    TempTree tree;
    // old.png/cat: the only dot is in the folder's name.
    for (const char* name :
         {"images/dog.png", "images/animals/COW.JPG", "images/animals/farm/pig.Jfif",
          "images/readme.txt", "images/picture", "images/old.png/cat", "sounds/a.wav",
          "sounds/B.WAVE", "sounds/c.wav", "sounds/d.wav", "sounds/e.wav"}) {
        tree.File(name);
    }
    StoreSound(tree, "dog.png", 1);
    StoreSound(tree, "animals\\COW.JPG", 7);
    StoreSound(tree, "animals\\farm\\pig.Jfif", -2);

    const SoundAssignModel model = Built(tree);
    EXPECT_EQ(model.m_pictureNames,
              (Names{"animals\\COW.JPG", "animals\\farm\\pig.Jfif", "dog.png"}));
    EXPECT_EQ(model.m_assignments, (std::vector<int>{7, -2, 1}));
    EXPECT_EQ(model.SoundRows(), (Names{"ランダム", "a.wav", "B.WAVE", "c.wav", "d.wav", "e.wav"}));
    EXPECT_EQ(model.PictureRow(0), "animals\\COW.JPG = ランダム");  // 7 is no sound
    EXPECT_EQ(model.PictureRow(2), "dog.png = B.WAVE");

    // Unassigned values go back as they were read, -1 for pictures without a key; the random
    // row takes a picture back to a random sound.
    tree.File("images/new.bmp");
    SettingsModel settings(tree.Root());
    SoundAssignModel again = Built(tree);
    ASSERT_TRUE(again.Assign(3, 5).assigned);
    EXPECT_EQ(again.PictureRow(3), "new.bmp = e.wav");
    ASSERT_TRUE(again.Assign(2, 0).assigned);
    EXPECT_EQ(again.PictureRow(2), "dog.png = ランダム");
    ASSERT_TRUE(settings.OnSoundsAssigned(again.m_pictureNames, again.m_assignments));
    EXPECT_EQ(
        (std::vector{Stored(tree, "animals\\COW.JPG"), Stored(tree, "animals\\farm\\pig.Jfif"),
                     Stored(tree, "dog.png"), Stored(tree, "new.bmp")}),
        (std::vector{7, -2, -1, 4}));
}

TEST(SoundAssignDialogTest, WalksStopAtTheLimitAndUnlistedKeysStayUntouched) {
    TempTree tree;
    for (int i = 0; i < 12; ++i) {
        tree.File("images/p" + std::to_string(10 + i) + ".png");
        tree.File("sounds/s" + std::to_string(10 + i) + ".wav");
    }
    StoreSound(tree, "p20.png", 3);
    StoreSound(tree, "p21.png", 5);
    const SoundAssignModel ten = Built(tree);
    ASSERT_EQ(ten.m_pictureNames.size(), 10u);
    EXPECT_EQ(ten.m_pictureNames.back(), "p19.png");
    EXPECT_EQ(ten.SoundRows().size(), 11u);
    SettingsModel settings(tree.Root());
    ASSERT_TRUE(settings.OnSoundsAssigned(ten.m_pictureNames, ten.m_assignments));
    EXPECT_EQ(
        (std::vector{Stored(tree, "p10.png"), Stored(tree, "p20.png"), Stored(tree, "p21.png")}),
        (std::vector{-1, 3, 5}));

    const SoundAssignModel hundred = Built(tree, 100);
    EXPECT_EQ(hundred.m_pictureNames.size(), 12u);
    EXPECT_EQ(hundred.PictureRow(11), "p21.png = s15.wav");
}

TEST(SoundAssignDialogTest, StoredNumbersAreThoseOfThePlaySurfacesSoundList) {
    // The play surface numbers every file directly in the sounds folder; a number stored here
    // must play the chosen sound there, so other files keep their numbers but are not offered.
    TempTree tree;
    EXPECT_FALSE(Built(tree).Assign(0, 0).assigned);  // no pictures
    tree.File("images/a.png");
    SoundAssignModel noSounds = Built(tree);
    EXPECT_TRUE(noSounds.Assign(0, 0).assigned);  // random is always there
    EXPECT_FALSE(noSounds.Assign(0, 1).assigned);
    for (const char* name : {"a.wav", "b.txt", "c.wav", "more/d.wav"}) {
        tree.File(std::string("sounds/") + name);
    }
    StoreSound(tree, "a.png", 1);
    SoundAssignModel model = Built(tree);
    EXPECT_EQ(model.SoundRows(), (Names{"ランダム", "a.wav", "c.wav"}));
    EXPECT_EQ(model.PictureRow(0), "a.png = ランダム");  // 1 is b.txt
    // Both lists need a selected row.
    EXPECT_FALSE(model.Assign(-1, 0).assigned);
    EXPECT_FALSE(model.Assign(1, 0).assigned);
    EXPECT_FALSE(model.Assign(0, 3).assigned);
    EXPECT_EQ(model.m_assignments, (std::vector<int>{1}));
    ASSERT_TRUE(model.Assign(0, 2).assigned);
    EXPECT_EQ(model.m_assignments[0], 2);
    EXPECT_EQ(model.PictureRow(0), "a.png = c.wav");
    EXPECT_EQ(ListSoundNames(SystemFileSystem(), tree.Root(), 10).at(2), "c.wav");
}

TEST(SoundAssignDialogTest, NamesThatCannotBeKeysOrShareOneAreToldAndTheRestIsStoredInOneSave) {
    test::MemoryTree tree;
    for (const char* name : {"images/a=b.png", "images/[x].png", "images/c.png", "images/é.png",
                             "images/〜.png", "sounds/s.wav"}) {
        tree.File(name);
    }
    CAppSettings store(tree.Root(), tree);
    store.Load();
    SoundAssignModel model;
    model.Build(tree, tree.Root(), store);
    ASSERT_EQ(model.m_pictureNames, (Names{"a=b.png", "c.png", "[x].png", "é.png", "〜.png"}));
    for (const auto& [row, reason] : {std::pair{2, "「[」で始まる"}, {0, "「=」がある"}}) {
        const AssignOutcome refused = model.Assign(row, 1);
        EXPECT_FALSE(refused.assigned);
        EXPECT_NE(refused.message.find(model.m_pictureNames[static_cast<size_t>(row)]),
                  std::string::npos);
        EXPECT_NE(refused.message.find(reason), std::string::npos) << refused.message;
    }
    // é and 〜 are both '?' in code page 932: one key, so one sound, and the parent is told.
    const AssignOutcome shared = model.Assign(4, 1);
    EXPECT_TRUE(shared.assigned);
    EXPECT_EQ(shared.alsoChanged, (std::vector<size_t>{3}));
    EXPECT_NE(shared.message.find("「é.png」"), std::string::npos);
    EXPECT_EQ(model.m_assignments, (std::vector<int>{-1, -1, -1, 0, 0}));
    EXPECT_TRUE(model.Assign(1, 1).message.empty());

    SettingsModel settings(tree.Root(), tree);
    const int before = tree.Replaced();
    ASSERT_TRUE(settings.OnSoundsAssigned(model.m_pictureNames, model.m_assignments));
    EXPECT_EQ(tree.Replaced(), before + 1);
    std::string bytes;
    ASSERT_TRUE(tree.ReadFile(store.m_strIniPath, bytes));
    EXPECT_EQ(bytes, Utf8ToCp932("[SoundFile]\r\nc.png=0\r\n?.png=0\r\n"));
    // A file that cannot be written takes none of it.
    tree.SetReadOnly(true);
    model.Assign(1, 0);
    EXPECT_FALSE(settings.OnSoundsAssigned(model.m_pictureNames, model.m_assignments));
    EXPECT_EQ(ReadSoundIndex(store, "c.png"), 0);
}

}  // namespace
}  // namespace zz
