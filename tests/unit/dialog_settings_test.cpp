#include <gtest/gtest.h>

#include <climits>
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

TEST(SettingsDialogTest, CombosShowTheFirstEntryWithTheStoredPrefixAndStoreTheTypedNumber) {
    MemoryTree tree;
    StoreInts(tree, {{keys::kSpeed, 3}, {keys::kGrowth, 15}, {keys::kMaxZoom, 5}});
    SettingsModel model(tree.Root(), tree);
    model.Load();
    SettingsControls shown = model.ToControls();
    EXPECT_EQ(shown.speed.text, "300");
    EXPECT_EQ(shown.speed.selected, 4);
    EXPECT_EQ(shown.growth.text, "15");
    EXPECT_EQ(shown.growth.selected, -1);
    EXPECT_EQ(shown.maxZoom.text, "50");  // "50" comes before "500"
    model.FromControls(shown);
    ASSERT_TRUE(model.Store());
    CAppSettings saved = Reloaded(tree);
    EXPECT_EQ(std::tuple(saved.m_nSpeed, saved.m_nGrowth, saved.m_nMaxZoom),
              std::tuple(300, 15, 50));

    shown.growth.text = "  25%";
    shown.speed.text = "";
    shown.maxZoom.text = "-40";
    model.FromControls(shown);
    ASSERT_TRUE(model.Store());
    saved = Reloaded(tree);
    EXPECT_EQ(std::tuple(saved.m_nGrowth, saved.m_nSpeed, saved.m_nMaxZoom),
              std::tuple(25, 0, -40));
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
    EXPECT_EQ(FindComboEntry(kMixed, "abcd"), -1);
    EXPECT_EQ(ComboShownText(kSpeedChoices, "-1"), "-1");
}

TEST(SettingsDialogTest, RadioValuesOtherThanZeroOrOneShowNeitherAndStoreMinusOne) {
    MemoryTree tree;
    StoreInts(tree, {{keys::kRotation, 5},
                     {keys::kStartMode, 1},
                     {keys::kMouse, -3},
                     {keys::kSound, -1},
                     {keys::kMaxMedia, -1},
                     {keys::kDisplayOrder, -1}});
    SettingsModel model(tree.Root(), tree);
    model.Load();
    // Enabled for any stored value but 0, and -1 counts as 100 media.
    EXPECT_TRUE(model.m_bAssignEnabled);
    EXPECT_TRUE(model.m_bOrderEnabled);
    EXPECT_EQ(model.MaxCount(), 100);

    const SettingsControls shown = model.ToControls();
    EXPECT_EQ(std::tuple(shown.rotation, shown.startMode, shown.mouse, shown.maxMedia),
              std::tuple(-1, 1, -1, -1));
    model.FromControls(shown);
    ASSERT_TRUE(model.Store());
    const CAppSettings saved = Reloaded(tree);
    EXPECT_EQ(std::tuple(saved.m_nRotation, saved.m_nStartMode, saved.m_nMouse, saved.m_nSound),
              std::tuple(-1, 1, -1, -1));

    // The hidden rotation pair carries 0 and 1 through unchanged.
    StoreInts(tree, {{keys::kRotation, 1}});
    SettingsModel again(tree.Root(), tree);
    again.Load();
    again.FromControls(again.ToControls());
    ASSERT_TRUE(again.Store());
    EXPECT_EQ(Reloaded(tree).m_nRotation, 1);
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

TEST(SettingsDialogTest, SoundAssignmentsAreWrittenAtOnceAndFailedWritesKeepTheValues) {
    MemoryTree tree;
    StoreInts(tree, {{keys::kSpeed, 200}});
    SettingsModel model(tree.Root(), tree);
    model.Load();
    model.m_strSpeed = "500";
    model.m_orderList = {"x.png"};
    ASSERT_TRUE(model.OnSoundsAssigned({"a.png", "g\\b.png"}, {2, -1}));
    EXPECT_TRUE(model.m_bMediaChanged);
    // Were the dialog cancelled here, nothing else would be stored.
    const CAppSettings after = Reloaded(tree);
    EXPECT_EQ(after.m_nSpeed, 200);
    EXPECT_EQ(after.ReadInt(keys::kSoundFileSection, "a.png", 99), 2);
    EXPECT_EQ(after.ReadInt(keys::kSoundFileSection, "g\\b.png", 99), -1);

    tree.SetReadOnly(true);
    EXPECT_FALSE(model.Store());
    EXPECT_FALSE(model.OnSoundsAssigned({"x.png"}, {0}));
    const std::string file = JoinPath(tree.Root(), "Zoomzap.ini");
    EXPECT_NE(model.SaveFailedMessage().find(file), std::string::npos);
    EXPECT_NE(model.AssignFailedMessage().find(file), std::string::npos);
    EXPECT_EQ(model.m_strSpeed, "500");
    tree.SetReadOnly(false);
    ASSERT_TRUE(model.Store());
    const CAppSettings saved = Reloaded(tree);
    EXPECT_EQ(saved.m_nSpeed, 500);
    EXPECT_EQ(saved.m_pictureOrder, test::Names{"x.png"});
}

}  // namespace
}  // namespace zz
