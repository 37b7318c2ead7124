#include <gtest/gtest.h>

#include <climits>

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

TEST(SettingsDialogTest, ComboShowsTheFirstEntryWithTheStoredPrefix) {
    MemoryTree tree;
    StoreInts(tree, {{keys::kSpeed, 3}, {keys::kGrowth, 15}, {keys::kMaxZoom, 5}});
    SettingsModel model(tree.Root(), tree);
    model.Load();
    const SettingsControls shown = model.ToControls();
    EXPECT_EQ(shown.speed.text, "300");
    EXPECT_EQ(shown.speed.selected, 4);
    EXPECT_EQ(shown.growth.text, "15");
    EXPECT_EQ(shown.growth.selected, -1);
    EXPECT_EQ(shown.maxZoom.text, "50");  // "50" comes before "500"

    model.FromControls(shown);
    ASSERT_TRUE(model.Store());
    const CAppSettings saved = Reloaded(tree);
    EXPECT_EQ(saved.m_nSpeed, 300);
    EXPECT_EQ(saved.m_nGrowth, 15);
    EXPECT_EQ(saved.m_nMaxZoom, 50);

    constexpr std::string_view kMixed[] = {"xA", "Abc", "abd"};
    EXPECT_EQ(FindComboEntry(kMixed, "AB"), 1);
    EXPECT_EQ(FindComboEntry(kMixed, "aBD"), 2);
    EXPECT_EQ(FindComboEntry(kMixed, "abcd"), -1);
    EXPECT_EQ(FindComboEntry(kMixed, ""), 0);
    EXPECT_EQ(ComboShownText(kSpeedChoices, "-1"), "-1");
}

TEST(SettingsDialogTest, TypedTextsStoreTheirLeadingNumber) {
    EXPECT_EQ(ParseTypedNumber("abc"), 0);
    EXPECT_EQ(ParseTypedNumber("  25%"), 25);
    EXPECT_EQ(ParseTypedNumber("\t\r\n 8"), 8);
    EXPECT_EQ(ParseTypedNumber(""), 0);
    EXPECT_EQ(ParseTypedNumber("-40"), -40);
    EXPECT_EQ(ParseTypedNumber("+7"), 7);
    EXPECT_EQ(ParseTypedNumber("- 5"), 0);
    EXPECT_EQ(ParseTypedNumber("12abc34"), 12);
    EXPECT_EQ(ParseTypedNumber("0007"), 7);
    EXPECT_EQ(ParseTypedNumber("2147483647"), INT_MAX);
    EXPECT_EQ(ParseTypedNumber("-2147483648"), INT_MIN);
    EXPECT_EQ(ParseTypedNumber("2147483648"), INT_MAX);
    EXPECT_EQ(ParseTypedNumber("99999999999999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseTypedNumber("-99999999999999999999999999999"), INT_MIN);
    EXPECT_EQ(ParseTypedNumber("３００"), 0);  // full-width digits are no number

    MemoryTree tree;
    SettingsModel model(tree.Root(), tree);
    model.Load();
    SettingsControls typed = model.ToControls();
    typed.growth.text = "  25%";
    typed.speed.text = "";
    typed.maxZoom.text = "-40";
    model.FromControls(typed);
    ASSERT_TRUE(model.Store());
    const CAppSettings saved = Reloaded(tree);
    EXPECT_EQ(saved.m_nGrowth, 25);
    EXPECT_EQ(saved.m_nSpeed, 0);
    EXPECT_EQ(saved.m_nMaxZoom, -40);
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
    EXPECT_EQ(shown.rotation, -1);
    EXPECT_EQ(shown.startMode, 1);
    EXPECT_EQ(shown.mouse, -1);
    EXPECT_EQ(shown.maxMedia, -1);
    model.FromControls(shown);
    ASSERT_TRUE(model.Store());
    const CAppSettings saved = Reloaded(tree);
    EXPECT_EQ(saved.m_nRotation, -1);
    EXPECT_EQ(saved.m_nStartMode, 1);
    EXPECT_EQ(saved.m_nMouse, -1);
    EXPECT_EQ(saved.m_nSound, -1);

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

    const FolderPrompt sounds = model.OnSoundsFolder();
    EXPECT_EQ(sounds.folder, tree.Path("sounds"));
    EXPECT_EQ(sounds.message,
              "鳴らしたい音声ファイル(*.wav)を\n" + tree.Path("sounds") + " に置いて下さい。");
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

    SettingsModel images(tree.Root(), tree);
    images.Load();
    const FolderPrompt prompt = images.OnImagesFolder();
    EXPECT_EQ(prompt.message, "表示したい画像ファイル(*.bmp; *.jpg; *.jpeg; *.png)を\n" +
                                  tree.Path("images") + " に置いて下さい。");
    EXPECT_TRUE(images.m_bMediaChanged);

    SettingsModel maxMedia(tree.Root(), tree);
    maxMedia.OnMaxMedia();
    EXPECT_TRUE(maxMedia.m_bMediaChanged);

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
    group.m_nDisplayOrder = -1;
    EXPECT_FALSE(group.OnGroupChosen("x"));

    EXPECT_EQ(QuotedArgument("C:\\My Toys,new\\images"), "\"C:\\My Toys,new\\images\"");
}

TEST(SettingsDialogTest, SoundAssignmentsAreWrittenAtOnceAndOutliveACancel) {
    MemoryTree tree;
    StoreInts(tree, {{keys::kSpeed, 200}});
    SettingsModel model(tree.Root(), tree);
    model.Load();
    model.m_strSpeed = "700";
    ASSERT_TRUE(model.OnSoundsAssigned({"a.png", "g\\b.png"}, {2, -1}));
    EXPECT_TRUE(model.m_bMediaChanged);
    // The dialog is cancelled here: nothing else is stored.
    const CAppSettings after = Reloaded(tree);
    EXPECT_EQ(after.m_nSpeed, 200);
    EXPECT_EQ(after.ReadInt(keys::kSoundFileSection, "a.png", 99), 2);
    EXPECT_EQ(after.ReadInt(keys::kSoundFileSection, "g\\b.png", 99), -1);
}

TEST(SettingsDialogTest, FailedWritesAreReportedAndKeepTheValues) {
    MemoryTree tree;
    SettingsModel model(tree.Root(), tree);
    model.Load();
    model.m_strSpeed = "500";
    model.m_orderList = {"x.png"};
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
