// The settings dialog and the dialogs it opens, without their windows.

#include <gtest/gtest.h>

#include <climits>

#include "dialogs/group_choice.h"
#include "dialogs/order_model.h"
#include "dialogs/settings_model.h"
#include "dialogs/sound_assign_model.h"
#include "dialogs/typed_values.h"
#include "settings/codepage932.h"
#include "settings/media_library.h"
#include "tests/support/memory_tree.h"

namespace zz {
namespace {

using test::MemoryTree;
using test::Names;

constexpr auto kCp932 = TextEncoding::kCp932;

// A model loaded from a settings file that holds these integers.
SettingsModel Loaded(MemoryTree& tree, const std::vector<std::pair<std::string, int>>& values) {
    EXPECT_TRUE(CAppSettings(tree.Root(), tree).WriteInts(kSettingsSection, values));
    SettingsModel model(tree.Root(), tree);
    model.Load();
    return model;
}

// An OK without a change stores every value as the file held it, also one that no list entry
// or radio button shows; typed numbers and clicked radios are stored.
TEST(SettingsDialog, AnUntouchedOkLeavesEveryStoredValueAndChangesAreStored) {
    for (const int value : {0, 1, 3, 5, 15, 50, 150, 1000, -1, INT_MIN, INT_MAX}) {
        MemoryTree tree;
        std::vector<std::pair<std::string, int>> values;
        for (const char* key : {"一回に広がる大きさ", "速さ", "最大画像拡大率", "回転", "初期表示",
                                "マウス操作", "音声", "最大画像数", "表示"}) {
            values.emplace_back(key, value);
        }
        SettingsModel model = Loaded(tree, values);
        const Settings before = CAppSettings(tree.Root(), tree).Load();
        SettingsControls shown = model.ToControls();
        for (auto [combo, choices] : {std::pair<ComboState*, std::span<const std::string_view>>{
                                          &shown.growth, kGrowthChoices},
                                      {&shown.speed, kSpeedChoices},
                                      {&shown.maxZoom, kMaxZoomChoices}}) {
            if (combo->selected >= 0) {  // the list entry shows rather than the text
                combo->text = choices[static_cast<size_t>(combo->selected)];
            }
        }
        model.FromControls(shown);
        ASSERT_TRUE(model.Store());
        EXPECT_TRUE(CAppSettings(tree.Root(), tree).Load() == before) << value;
    }
    MemoryTree tree;
    SettingsModel model = Loaded(tree, {{"速さ", 50}, {"一回に広がる大きさ", 50}, {"回転", 5}});
    SettingsControls shown = model.ToControls();
    std::tie(shown.growth.text, shown.speed.text, shown.maxZoom.text) =
        std::tuple("\t 25%", "", "-40");
    std::tie(shown.sound, shown.rotation) = std::tuple(1, 0);  // a click replaces even a 5
    model.FromControls(shown);
    ASSERT_TRUE(model.Store());
    const Settings saved = CAppSettings(tree.Root(), tree).Load();
    EXPECT_EQ(std::tuple(saved.growth, saved.speed, saved.maxZoom, saved.rotation, saved.sound),
              std::tuple(25, 0, -40, OnOff::kOff, OnOff::kOn));
}

TEST(SettingsDialog, ButtonsFollowTheirOwnSettingAndMediaChangesAreNoted) {
    // "割り付け" follows the sound, "並び替え" the display order; any value but 0 enables.
    const std::tuple<int, int, bool, bool> cases[] = {
        {0, 0, false, false}, {1, 0, true, false}, {0, 1, false, true}, {-1, 7, true, true}};
    for (const auto& [sound, order, assign, reorder] : cases) {
        MemoryTree tree;
        const SettingsModel model = Loaded(tree, {{"音声", sound}, {"表示", order}});
        EXPECT_EQ(std::pair(model.AssignEnabled(), model.OrderEnabled()),
                  std::pair(assign, reorder));
    }
    MemoryTree tree;
    tree.Folder("images/〜あか");
    SettingsModel model = Loaded(tree, {{"表示", 1}});
    EXPECT_FALSE(model.MediaChanged());
    EXPECT_TRUE(model.OnGroupChosen("〜あか"));  // in the stored order, the order dialog follows
    model.OnSound(true);
    model.OnDisplayRandom();
    EXPECT_TRUE(model.AssignEnabled() && !model.OrderEnabled() && model.MediaChanged());
    // A group stored in the form code page 932 holds it in shows by its folder's name.
    ASSERT_TRUE(model.Store());
    EXPECT_EQ(CAppSettings(tree.Root(), tree).Load().group, "?あか");
    model.Load();
    EXPECT_EQ(model.ToControls().group, "〜あか");
}

// The stored entries that are the group's and still exist, then the rest of the walk up to its
// limit; OK puts the rows in the shown entries' places and keeps other groups' entries.
TEST(OrderDialog, ListsTheGroupsStoredEntriesThenTheWalkAndOkKeepsOtherGroupsInPlace) {
    MemoryTree tree;
    for (const char* name : {"a.png", "b.png", "e.JPG", "f.gif", "g/c.png", "z.png", "〜.png",
                             "é.png", "animals/cat.png", "animals/dog.png", "animals/farm/cow.png",
                             "cars/cat.png", "〜あか/r.png", "〜あか/s.png"}) {
        tree.File(std::string("images/") + name);
    }
    const Names stored = {"z.png", "gone.png", "g\\c.png", "A.png", "g", "..\\images\\b.png"};
    EXPECT_EQ(BuildOrderList(tree, tree.Root(), "", 2, stored, kCp932).rows,
              (Names{"z.png", "g\\c.png", "a.png", "animals\\cat.png"}));
    const OrderListing all =
        BuildOrderList(tree, tree.Root(), kGroupChooseAtStart, 9, stored, kCp932);
    EXPECT_EQ(MergeOrder(stored, all, all.rows), all.rows);  // gone entries are left out
    EXPECT_EQ(all.rows.size(), 9u);

    const Names mixed = {"cars\\bus.png",    "animals\\farm\\cow.png", "cars\\cat.png",
                         "animals\\dog.png", "animals\\gone.png",      "cars\\gone.png"};
    // cars\cat.png is shown for its namesake in the group.
    const OrderListing animals = BuildOrderList(tree, tree.Root(), "animals", 10, mixed, kCp932);
    EXPECT_EQ(animals.rows, (Names{"animals\\farm\\cow.png", "cars\\cat.png", "animals\\dog.png",
                                   "animals\\cat.png"}));
    EXPECT_EQ(MergeOrder(mixed, animals,
                         {"animals\\cat.png", "animals\\dog.png", "cars\\cat.png",
                          "animals\\farm\\cow.png"}),
              (Names{"cars\\bus.png", "animals\\cat.png", "animals\\dog.png", "cars\\cat.png",
                     "cars\\gone.png", "animals\\farm\\cow.png"}));
    // Code page 932 holds the wave dash as '?'.
    const Names held = {"?あか\\s.png", "あお\\b.png"};
    const OrderListing wave = BuildOrderList(tree, tree.Root(), "〜あか", 10, held, kCp932);
    EXPECT_EQ(MergeOrder(held, wave, wave.rows),
              (Names{"〜あか\\s.png", "あお\\b.png", "〜あか\\r.png"}));
}

TEST(OrderDialog, CtrlArrowsMoveTheSelectedRowWithinTheList) {
    constexpr unsigned kArrowUp = 0x26, kArrowDown = 0x28, kCtrl = 0x11;
    using enum OrderMove;
    ReorderKeys keys;
    std::vector<OrderMove> moves;
    const std::pair<unsigned, bool> presses[] = {
        {kArrowUp, true},  {kCtrl, true},      {kCtrl, true},  {kArrowUp, true},
        {kArrowUp, false}, {kArrowDown, true}, {kCtrl, false}, {kArrowDown, true}};
    for (const auto& [key, down] : presses) {
        down ? moves.push_back(keys.OnKeyDown(key)) : keys.OnKeyUp(key);
    }
    EXPECT_EQ(moves, (std::vector{kNone, kNone, kNone, kUp, kDown, kNone}));
    // Selected row of three, move, the row it moves to.
    const std::tuple<int, OrderMove, int> cases[] = {{0, kUp, -1},  {0, kDown, 1},   {2, kDown, -1},
                                                     {2, kUp, 1},   {-1, kDown, -1}, {3, kUp, -1},
                                                     {1, kNone, -1}};
    for (const auto& [selected, move, target] : cases) {
        EXPECT_EQ(OrderMoveTarget(selected, 3, move), target) << selected;
    }
}

TEST(GroupDialogs, OfferTheFirstTenGroupsAndGiveBackTheValueOfTheChosenOne) {
    const Names groups = {"Animals", "起動時に選択", "cars", "d", "e", "f", "g", "h", "i", "j",
                          "k"};
    const std::pair<const char*, int> shown[] = {
        {"", 0}, {"起動時に選択", 1}, {"Animals", 2}, {"j", 11}, {"k", 0}, {"animals", 0}};
    for (const auto& [value, radio] : shown) {
        EXPECT_EQ(GroupSelectModel(groups, value, kCp932).CheckedRadio(), radio) << value;
    }
    const GroupSelectModel model(groups, "", kCp932);
    EXPECT_EQ(
        std::tuple(model.GroupName(4), model.GroupName(1), model.ValueOf(0), model.ValueOf(3)),
        std::tuple("cars", "", "", "起動時に選択"));  // a folder of that name stores the choice
    EXPECT_FALSE(model.ValueOf(-1) || model.ValueOf(12) ||
                 GroupSelectModel({"a"}, "", kCp932).ValueOf(3));

    const GroupPickModel pick({"animals", "cars", "food"});
    EXPECT_EQ((Names{pick.Caption(2), pick.Caption(9)}), (Names{"food", "0"}));  // or its digit
    // Digit keys on the main keyboard and the keypad; a button without a group picks nothing.
    const std::pair<unsigned, int> digits[] = {{'1', 0},   {'0', 9},   {0x60, 9},  {0x69, 8},
                                               {0x2F, -1}, {0x3A, -1}, {0x5F, -1}, {0x6A, -1}};
    for (const auto& [key, button] : digits) {
        EXPECT_EQ(PickButtonForKey(key), button) << key;
    }
    EXPECT_EQ(std::tuple(pick.Pick(2), pick.Pick(3), pick.Pick(-1)),
              std::tuple(std::optional<std::string>("food"), std::nullopt, std::nullopt));
}

// Every picture of every group with its stored sound; the sounds are those of the play
// surface's own list, so that a stored number plays the sound chosen here.
TEST(SoundAssignDialog, ListsPicturesWithTheirSoundsAndStoresPlaySurfaceNumbersInOneSave) {
    MemoryTree tree;
    for (const char* name :
         {"images/animals/COW.JPG", "images/a=b.png", "images/[x].png", "images/k.png",
          "images/é.png", "images/〜.png", "images/old.png/cat", "sounds/a.wav", "sounds/b.txt",
          "sounds/C.WAVE", "sounds/more/d.wav"}) {
        tree.File(name);
    }
    CAppSettings store(tree.Root(), tree);
    ASSERT_TRUE(
        store.WriteInts(kSoundMapSection, {{"animals\\COW.JPG", 1}, {"k.png", 2}, {"é.png", -2}}));
    SoundAssignModel model(tree, tree.Root(), 10);
    ASSERT_EQ(model.PictureNames(),
              (Names{"a=b.png", "animals\\COW.JPG", "k.png", "[x].png", "é.png", "〜.png"}));
    EXPECT_EQ(model.Sounds(), (Names{"a.wav", "C.WAVE"}));
    EXPECT_EQ(std::pair(model.SoundOf(1), model.SoundOf(2)),  // 1 is b.txt, no sound
              std::pair(std::optional<std::string>(), std::optional<std::string>("C.WAVE")));
    EXPECT_FALSE(model.Assign(-1, 0).assigned || model.Assign(6, 0).assigned ||
                 model.Assign(1, -1).assigned || model.Assign(1, 3).assigned);  // no such row
    EXPECT_EQ(model.Assign(0, 1).refusal, KeyRefusal::kHasEquals);
    EXPECT_TRUE(model.Assign(1, 2).assigned && model.Assign(2, 0).alsoChanged.empty());
    // é and 〜 are both '?' in code page 932: one key, so one sound.
    EXPECT_EQ(model.Assign(5, 1).alsoChanged, (std::vector<size_t>{4}));
    EXPECT_EQ(model.Assignments(), (std::vector<int>{-1, 2, -1, -1, 0, 0}));
    SettingsModel settings(tree.Root(), tree);
    const int saves = tree.Replaced();
    ASSERT_TRUE(settings.OnSoundsAssigned(model.PictureNames(), model.Assignments()));
    std::string bytes;
    ASSERT_TRUE(tree.ReadFile(settings.IniPath(), bytes));
    EXPECT_EQ(
        std::pair(tree.Replaced(), bytes),
        std::pair(saves + 1,
                  Utf8ToCp932("[SoundFile]\r\nanimals\\COW.JPG=2\r\nk.png=-1\r\n?.png=0\r\n")));
    tree.SetReadOnly(true);  // a file that cannot be written takes none of it
    EXPECT_FALSE(settings.OnSoundsAssigned({"k.png"}, {1}));
    EXPECT_TRUE(settings.MediaChanged());
}

}  // namespace
}  // namespace zz
