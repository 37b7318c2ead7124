#include <gtest/gtest.h>

#include "dialogs/order_model.h"
#include "tests/unit/dialog_test_support.h"

namespace zz {
namespace {

using test::Names;

TEST(OrderDialogTest, StoredEntriesComeFirstWhileTheirFilesExistThenTheWalkUpToTheLimit) {
    test::MemoryTree tree;
    for (const char* name :
         {"a.png", "b.png", "dog.png", "e.JPG", "f.gif", "g/c.png", "z.png", "t"}) {
        tree.File(std::string("images/") + name);
    }
    const Names stored = {"z.png", "gone.png", "g\\c.png", "Dog.png", "g", "..\\images\\a.png"};
    // The walk stops after two pictures, yet stored entries beyond it stay; names are matched
    // with their case, so Dog.png is no stored entry for dog.png; extensions in any case.
    EXPECT_EQ(BuildOrderList(tree, tree.Root(), "", 2, stored),
              (Names{"z.png", "g\\c.png", "a.png", "b.png"}));
    EXPECT_EQ(BuildOrderList(tree, tree.Root(), "", 10, stored),
              (Names{"z.png", "g\\c.png", "a.png", "b.png", "dog.png", "e.JPG"}));
    // Entries stored twice are shown twice, as the list holds them.
    EXPECT_EQ(BuildOrderList(tree, tree.Root(), "", 1, {"b.png", "b.png"}),
              (Names{"b.png", "b.png", "a.png"}));
}

TEST(OrderDialogTest, GroupShowsItsOwnPicturesAndNamesakesOfOthers) {
    test::TempTree tree;
    for (const char* name : {"animals/cat.png", "animals/dog.png", "animals/farm/cow.png",
                             "cars/bus.png", "cars/cat.png"}) {
        tree.File(std::string("images/") + name);
    }
    const Names stored = {"cars\\bus.png", "animals\\farm\\cow.png", "cars\\cat.png",
                          "animals\\dog.png", "cars\\gone.png"};
    EXPECT_EQ(
        BuildOrderList(SystemFileSystem(), tree.Root(), "animals", 10, stored),
        (Names{"animals\\farm\\cow.png", "cars\\cat.png", "animals\\dog.png", "animals\\cat.png"}));
    // The start-up choice takes the whole images folder.
    EXPECT_EQ(BuildOrderList(SystemFileSystem(), tree.Root(), "起動時に選択", 10, {}).size(), 5u);
    EXPECT_TRUE(BuildOrderList(SystemFileSystem(), tree.Root(), "gone", 10, stored).empty());
}

TEST(OrderDialogTest, CtrlArrowsMoveTheSelectedItemWithinTheList) {
    ReorderKeys keys;
    EXPECT_EQ(keys.OnKeyDown(kKeyUp), OrderMove::kNone);
    EXPECT_EQ(keys.OnKeyDown(kKeyControl), OrderMove::kNone);
    EXPECT_EQ(keys.OnKeyDown(kKeyControl), OrderMove::kNone);  // auto-repeat
    EXPECT_EQ(keys.OnKeyDown(kKeyUp), OrderMove::kUp);
    EXPECT_EQ(keys.OnKeyDown(kKeyDown), OrderMove::kDown);
    keys.OnKeyUp(kKeyUp);
    EXPECT_TRUE(keys.CtrlDown());
    keys.OnKeyUp(kKeyControl);
    EXPECT_EQ(keys.OnKeyDown(kKeyDown), OrderMove::kNone);
    // No move past either end, nor without a selection.
    EXPECT_EQ(OrderMoveTarget(0, 3, OrderMove::kUp), -1);
    EXPECT_EQ(OrderMoveTarget(2, 3, OrderMove::kDown), -1);
    EXPECT_EQ(OrderMoveTarget(1, 3, OrderMove::kUp), 0);
    EXPECT_EQ(OrderMoveTarget(1, 3, OrderMove::kDown), 2);
    EXPECT_EQ(OrderMoveTarget(-1, 3, OrderMove::kDown), -1);
    EXPECT_EQ(OrderMoveTarget(5, 3, OrderMove::kUp), -1);
}

}  // namespace
}  // namespace zz
