#include <gtest/gtest.h>

#include <climits>
#include <span>
#include <tuple>

#include "dialogs/settings_model.h"
#include "dialogs/typed_values.h"
#include "settings/settings_keys.h"
#include "tests/unit/dialog_test_support.h"

namespace zz {
namespace {

using test::MemoryTree;

// A settings file holding the given integers in the settings section.
void StoreInts(MemoryTree& tree, std::initializer_list<std::pair<std::string_view, int>> values) {
    CAppSettings store(tree.Root(), tree);
    for (const auto& [key, value] : values) {
        ASSERT_TRUE(store.WriteInt(keys::kSettingsSection, key, value));
    }
}

CAppSettings Reloaded(MemoryTree& tree) {
    CAppSettings store(tree.Root(), tree);
    store.Load();
    return store;
}

// Every field of the record, to compare one with another.
auto Fields(const CAppSettings& s) {
    return std::tuple(s.m_strTitle, s.m_nGrowth, s.m_nSpeed, s.m_nMaxZoom, s.m_nRotation,
                      s.m_nStartMode, s.m_nMouse, s.m_nSound, s.m_nMaxMedia, s.m_nDisplayOrder,
                      s.m_strGroup, s.m_pictureOrder);
}

// What a combo box shows for the state: the selected entry, or the text.
ComboState Shown(std::span<const std::string_view> choices, const ComboState& state) {
    return {state.selected >= 0 ? std::string(choices[static_cast<size_t>(state.selected)])
                                : state.text,
            state.selected};
}

TEST(SettingsDialogTest, AnUntouchedOkLeavesEveryStoredValueAsItWas) {
    for (const int value : {0, 1, 2, 3, 5, 15, 20, 50, 70, 150, 1000, -1, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(value);
        MemoryTree tree;
        StoreInts(tree, {{keys::kGrowth, value},
                         {keys::kSpeed, value},
                         {keys::kMaxZoom, value},
                         {keys::kRotation, value},
                         {keys::kStartMode, value},
                         {keys::kMouse, value},
                         {keys::kSound, value},
                         {keys::kMaxMedia, value},
                         {keys::kDisplayOrder, value}});
        const CAppSettings before = Reloaded(tree);
        SettingsModel model(tree.Root(), tree);
        model.Load();
        SettingsControls shown = model.ToControls();
        shown.growth = Shown(kGrowthChoices, shown.growth);
        shown.speed = Shown(kSpeedChoices, shown.speed);
        shown.maxZoom = Shown(kMaxZoomChoices, shown.maxZoom);
        model.FromControls(shown);
        ASSERT_TRUE(model.Store());
        EXPECT_EQ(Fields(Reloaded(tree)), Fields(before));
    }
    // A value that is no entry shows as typed, an entry is selected.
    MemoryTree tree;
    StoreInts(tree, {{keys::kSpeed, 50}, {keys::kGrowth, 50}});
    SettingsModel model(tree.Root(), tree);
    model.Load();
    const SettingsControls shown = model.ToControls();
    EXPECT_EQ(std::tuple(shown.speed.text, shown.speed.selected), std::tuple("50", -1));
    EXPECT_EQ(shown.growth.selected, 6);
}

TEST(SettingsDialogTest, TypedNumbersAndClickedRadiosAreStored) {
    MemoryTree tree;
    StoreInts(tree, {{keys::kRotation, 5}, {keys::kMouse, -3}, {keys::kSound, -1}});
    SettingsModel model(tree.Root(), tree);
    model.Load();
    // Enabled for any stored value but 0, and -1 counts as 100 media.
    EXPECT_TRUE(model.m_bAssignEnabled);
    EXPECT_FALSE(model.m_bOrderEnabled);
    EXPECT_EQ(model.MaxCount(), 10);
    SettingsControls shown = model.ToControls();
    EXPECT_EQ(std::tuple(shown.rotation, shown.mouse, shown.sound), std::tuple(-1, -1, -1));
    shown.growth.text = "  25%";
    shown.speed.text = "";
    shown.maxZoom.text = "-40";
    shown.mouse = 1;
    model.FromControls(shown);
    ASSERT_TRUE(model.Store());
    const CAppSettings saved = Reloaded(tree);
    EXPECT_EQ(std::tuple(saved.m_nGrowth, saved.m_nSpeed, saved.m_nMaxZoom, saved.m_nRotation,
                         saved.m_nMouse, saved.m_nSound),
              std::tuple(25, 0, -40, 5, 1, -1));
    // Beyond the range of int, values hold to its limits; full-width digits are no number.
    for (const auto& [text, value] : {std::pair<const char*, int>{"\t\r\n 8", 8},
                                      {"+7", 7},
                                      {"- 5", 0},
                                      {"12abc34", 12},
                                      {"-2147483648", INT_MIN},
                                      {"2147483648", INT_MAX},
                                      {"-99999999999999999999999999999", INT_MIN},
                                      {"３００", 0}}) {
        EXPECT_EQ(ParseTypedNumber(text), value) << text;
    }
    constexpr std::string_view kMixed[] = {"xA", "Abc", "abd"};
    EXPECT_EQ(FindComboEntry(kMixed, "aBD"), 2);
    EXPECT_EQ(FindComboEntry(kMixed, "ab"), -1);
}

TEST(SettingsDialogTest, AGroupStoredInTheFilesFormShowsByItsFoldersName) {
    MemoryTree tree;
    tree.Folder("images/〜あか");
    CAppSettings store(tree.Root(), tree);
    store.Load();
    store.m_strGroup = "〜あか";
    ASSERT_TRUE(store.Save());
    SettingsModel model(tree.Root(), tree);
    model.Load();
    EXPECT_EQ(Reloaded(tree).m_strGroup, "?あか");  // code page 932 has no wave dash
    EXPECT_EQ(model.m_strGroup, "〜あか");
}

TEST(SettingsDialogTest, HandlersSetTheChangedFlagAndTheButtonsAsTheyShould) {
    MemoryTree tree;
    SettingsModel model(tree.Root(), tree);
    model.Load();
    EXPECT_EQ(model.OnSoundsFolder().folder, tree.Path("sounds"));
    EXPECT_FALSE(model.m_bMediaChanged);
    model.OnSoundOn();
    EXPECT_TRUE(model.m_bAssignEnabled);
    model.OnSoundOff();
    EXPECT_FALSE(model.m_bAssignEnabled);
    model.OnDisplayInOrder();
    EXPECT_TRUE(model.m_bOrderEnabled);
    EXPECT_FALSE(model.m_bMediaChanged);
    model.OnDisplayRandom();
    EXPECT_FALSE(model.m_bOrderEnabled);
    EXPECT_TRUE(model.m_bMediaChanged);

    // Visiting the images folder may change the pictures.
    SettingsModel images(tree.Root(), tree);
    images.Load();
    EXPECT_EQ(images.OnImagesFolder().folder, tree.Path("images"));
    EXPECT_TRUE(images.m_bMediaChanged);

    // The order dialog's list is taken back even when it is the same list.
    SettingsModel order(tree.Root(), tree);
    order.m_orderList = {"a.png"};
    order.OnOrderDone({"a.png"});
    EXPECT_TRUE(order.m_bMediaChanged);
    EXPECT_EQ(order.m_orderList, test::Names{"a.png"});

    // A new group brings the order dialog along only for the in-order display.
    SettingsModel group(tree.Root(), tree);
    group.m_nDisplayOrder = 0;
    EXPECT_FALSE(group.OnGroupChosen("animals"));
    EXPECT_EQ(group.m_strGroup, "animals");
    EXPECT_TRUE(group.m_bMediaChanged);
    group.m_nDisplayOrder = 1;
    EXPECT_TRUE(group.OnGroupChosen(""));

    EXPECT_EQ(QuotedArgument("C:\\My Toys,new\\images"), "\"C:\\My Toys,new\\images\"");
}

}  // namespace
}  // namespace zz
