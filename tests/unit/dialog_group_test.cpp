#include <gtest/gtest.h>

#include "dialogs/group_choice.h"
#include "settings/media_library.h"
#include "tests/unit/dialog_test_support.h"

namespace zz {
namespace {

using test::Names;

TEST(GroupSelectDialogTest, OffersTheGroupsFoundAndOkAtOnceStoresTheSameValue) {
    const GroupSelectModel model({"animals", "cars", "food"}, "cars");
    EXPECT_EQ(model.m_nGroupRadio, 3);
    EXPECT_TRUE(model.IsVisible(4));
    EXPECT_FALSE(model.IsVisible(5));
    EXPECT_EQ(model.Caption(5), "");
    for (int radio : {-1, 5, 12}) {
        EXPECT_EQ(model.ValueOf(radio), std::nullopt) << radio;
    }
    const Names groups = {"Animals", "起動時に選択", "cars"};
    for (const std::string value : {"", "起動時に選択", "Animals", "cars"}) {
        const GroupSelectModel chosen(groups, value);
        EXPECT_EQ(chosen.ValueOf(chosen.m_nGroupRadio), value);
    }
    // Compared with case: an unknown name shows all groups, and OK stores the empty value.
    const GroupSelectModel other(groups, "animals");
    EXPECT_EQ(other.ValueOf(other.m_nGroupRadio), "");
    // A folder of the start-up choice's name is offered but stores the choice itself.
    EXPECT_EQ(GroupSelectModel(groups, "").ValueOf(3), "起動時に選択");

    // é and 〜 are both '?' in code page 932, even when one of them is not offered.
    Names many = {"é"};
    for (int i = 0; i < 10; ++i) {
        many.push_back("g" + std::to_string(i));
    }
    many.push_back("〜");
    const GroupSelectModel shared(many, "", TextEncoding::kCp932);
    EXPECT_NE(shared.CollisionMessage(2).find("「〜」"), std::string::npos);
    EXPECT_EQ(shared.CollisionMessage(3), "");
    EXPECT_EQ(shared.CollisionMessage(0), "");
    EXPECT_EQ(GroupSelectModel(many, "", TextEncoding::kUtf16Le).CollisionMessage(2), "");
}

TEST(GroupSelectDialogTest, EnumerationOffersTheFirstTenFolders) {
    test::TempTree tree;
    tree.File("images/a.png");
    for (int i = 0; i < 11; ++i) {
        tree.Folder("images/g" + std::to_string(10 + i));
    }
    const Names groups = ListGroups(SystemFileSystem(), tree.Root());
    const GroupSelectModel select(groups, "g20");
    EXPECT_EQ(select.m_nGroupRadio, 0);  // the eleventh is not offered
    EXPECT_EQ(select.Caption(11), "g19");
    EXPECT_EQ(GroupPickModel(groups).Caption(9), "g19");
}

TEST(GroupPickDialogTest, DigitsChooseEnabledButtonsOnly) {
    const GroupPickModel model({"animals", "cars", "food"});
    EXPECT_FALSE(model.IsEnabled(3));
    EXPECT_EQ(model.Pick(PickButtonForKey('3')), "food");
    EXPECT_EQ(model.Pick(PickButtonForKey('5')), std::nullopt);
    EXPECT_EQ(model.Pick(PickButtonForKey(0x61)), "animals");  // numpad 1
    EXPECT_EQ(PickButtonForKey('0'), 9);
    EXPECT_EQ(PickButtonForKey(0x60), 9);             // numpad 0
    for (int key : {0x2F, 0x3A, 0x41, 0x6A, 0x5F}) {  // beside the digits, A, numpad *
        EXPECT_EQ(PickButtonForKey(key), -1) << key;
    }
    EXPECT_EQ(EscapeMnemonics("Tom & Jerry&"), "Tom && Jerry&&");
}

}  // namespace
}  // namespace zz
