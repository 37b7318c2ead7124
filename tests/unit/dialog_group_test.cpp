#include <gtest/gtest.h>

#include "dialogs/group_choice.h"
#include "settings/media_library.h"
#include "tests/unit/dialog_test_support.h"

namespace zz {
namespace {

using test::Names;
using test::TempTree;

TEST(GroupSelectDialogTest, OffersTheGroupsFoundAndHidesTheRest) {
    const GroupSelectModel model({"animals", "cars", "food"}, "cars");
    EXPECT_EQ(model.m_nGroupRadio, 3);
    const Names captions = {"全グループ", "起動時に選択", "animals", "cars", "food"};
    for (int radio = 0; radio < kGroupRadioCount; ++radio) {
        EXPECT_EQ(model.IsVisible(radio), radio < 5) << radio;
        EXPECT_EQ(model.Caption(radio), radio < 5 ? captions[radio] : "") << radio;
    }
    EXPECT_EQ(model.ValueOf(0), "");
    EXPECT_EQ(model.ValueOf(1), "起動時に選択");
    EXPECT_EQ(model.ValueOf(4), "food");
    EXPECT_EQ(model.ValueOf(5), std::nullopt);
    EXPECT_EQ(model.ValueOf(-1), std::nullopt);
    EXPECT_EQ(model.ValueOf(12), std::nullopt);

    const GroupSelectModel none({}, "");
    EXPECT_FALSE(none.IsVisible(2));
    EXPECT_TRUE(none.IsVisible(1));
}

TEST(GroupSelectDialogTest, OkAtOnceStoresTheSameValue) {
    const Names groups = {"Animals", "起動時に選択", "cars"};
    for (const std::string value : {"", "起動時に選択", "Animals", "cars"}) {
        const GroupSelectModel model(groups, value);
        EXPECT_EQ(model.ValueOf(model.m_nGroupRadio), value);
    }
    // Compared with case: an unknown name shows all groups, and OK stores the empty value.
    const GroupSelectModel other(groups, "animals");
    EXPECT_EQ(other.m_nGroupRadio, 0);
    EXPECT_EQ(other.ValueOf(other.m_nGroupRadio), "");
    // A folder of the start-up choice's name is offered but stores the choice itself.
    EXPECT_EQ(GroupSelectModel(groups, "").ValueOf(3), "起動時に選択");
}

TEST(GroupSelectDialogTest, EnumerationOffersTheFirstTenFolders) {
    TempTree tree;
    tree.File("images/a.png");
    for (int i = 0; i < 11; ++i) {
        tree.Folder("images/g" + std::to_string(10 + i));
    }
    const Names groups = ListGroups(SystemFileSystem(), tree.Root());
    const GroupSelectModel select(groups, "g20");
    EXPECT_EQ(select.m_nGroupRadio, 0);  // the eleventh is not offered
    EXPECT_EQ(select.Caption(11), "g19");
    const GroupPickModel pick(groups);
    EXPECT_TRUE(pick.IsEnabled(9));
    EXPECT_EQ(pick.Caption(9), "g19");
}

TEST(GroupPickDialogTest, DigitsChooseEnabledButtonsOnly) {
    const GroupPickModel model({"animals", "cars", "food"});
    EXPECT_EQ(model.Caption(0), "animals");
    EXPECT_EQ(model.Caption(3), "4");
    EXPECT_EQ(model.Caption(8), "9");
    EXPECT_EQ(model.Caption(9), "0");
    EXPECT_FALSE(model.IsEnabled(3));
    EXPECT_EQ(model.Pick(PickButtonForKey('3')), "food");
    EXPECT_EQ(model.Pick(PickButtonForKey('5')), std::nullopt);
    EXPECT_EQ(model.Pick(PickButtonForKey(0x61)), "animals");  // numpad 1

    EXPECT_EQ(PickButtonForKey('1'), 0);
    EXPECT_EQ(PickButtonForKey('9'), 8);
    EXPECT_EQ(PickButtonForKey('0'), 9);
    EXPECT_EQ(PickButtonForKey(0x60), 9);  // numpad 0
    EXPECT_EQ(PickButtonForKey(0x69), 8);  // numpad 9
    EXPECT_EQ(PickButtonForKey(0x2F), -1);
    EXPECT_EQ(PickButtonForKey(0x3A), -1);
    EXPECT_EQ(PickButtonForKey('A'), -1);
    EXPECT_EQ(PickButtonForKey(0x6A), -1);  // numpad *
    EXPECT_EQ(PickButtonForKey(0x5F), -1);

    EXPECT_EQ(EscapeMnemonics("Tom & Jerry&"), "Tom && Jerry&&");
}

}  // namespace
}  // namespace zz
