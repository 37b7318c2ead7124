#include <gtest/gtest.h>

#include "dialogs/order_model.h"
#include "tests/unit/dialog_test_support.h"

namespace zz {
namespace {

using test::MemoryTree;
using test::Names;
using test::TempTree;

TEST(OrderDialogTest, WalkShowsTheFirstPicturesUpToTheLimit) {
    MemoryTree tree;
    for (int i = 0; i < 15; ++i) {
        tree.File("images/p" + std::to_string(10 + i) + ".png");
    }
    const Names ten = BuildOrderList(tree, tree.Root(), "", 10, {});
    ASSERT_EQ(ten.size(), 10u);
    EXPECT_EQ(ten.front(), "p10.png");
    EXPECT_EQ(ten.back(), "p19.png");
    EXPECT_EQ(BuildOrderList(tree, tree.Root(), "", 100, {}).size(), 15u);

    // Files that are no pictures are neither shown nor counted.
    MemoryTree mixed;
    mixed.File("images/a.gif");
    mixed.File("images/b.txt");
    mixed.File("images/c");
    mixed.File("images/d.JPG");
    mixed.File("images/e.Png");
    mixed.File("images/f.jpe");
    EXPECT_EQ(BuildOrderList(mixed, mixed.Root(), "", 2, {}), (Names{"d.JPG", "e.Png"}));

    MemoryTree none;
    EXPECT_TRUE(BuildOrderList(none, none.Root(), "", 10, {"a.png"}).empty());
}

TEST(OrderDialogTest, StoredEntriesComeFirstWhileTheirFilesExist) {
    MemoryTree tree;
    tree.File("images/a.png");
    tree.File("images/b.png");
    tree.File("images/dog.png");
    tree.File("images/g/c.png");
    tree.File("images/z.png");
    const Names stored = {"z.png", "gone.png", "g\\c.png", "Dog.png", "g", "..\\images\\a.png"};
    // The walk stops after two pictures, yet stored entries beyond it stay; names are matched
    // with their case, so Dog.png is no stored entry for dog.png.
    EXPECT_EQ(BuildOrderList(tree, tree.Root(), "", 2, stored),
              (Names{"z.png", "g\\c.png", "a.png", "b.png"}));
    EXPECT_EQ(BuildOrderList(tree, tree.Root(), "", 10, stored),
              (Names{"z.png", "g\\c.png", "a.png", "b.png", "dog.png"}));
    // Entries stored twice are shown twice, as the list holds them.
    EXPECT_EQ(BuildOrderList(tree, tree.Root(), "", 1, {"b.png", "b.png"}),
              (Names{"b.png", "b.png", "a.png"}));
}

TEST(OrderDialogTest, GroupShowsItsOwnPicturesAndNamesakesOfOthers) {
    TempTree tree;
    tree.File("images/animals/cat.png");
    tree.File("images/animals/dog.png");
    tree.File("images/animals/farm/cow.png");
    tree.File("images/cars/bus.png");
    tree.File("images/cars/cat.png");
    const Names stored = {"cars\\bus.png", "animals\\farm\\cow.png", "cars\\cat.png",
                          "animals\\dog.png", "cars\\gone.png"};
    EXPECT_EQ(
        BuildOrderList(SystemFileSystem(), tree.Root(), "animals", 10, stored),
        (Names{"animals\\farm\\cow.png", "cars\\cat.png", "animals\\dog.png", "animals\\cat.png"}));
    // All groups and the start-up choice take the whole images folder.
    const Names all = {"animals\\cat.png", "animals\\dog.png", "animals\\farm\\cow.png",
                       "cars\\bus.png", "cars\\cat.png"};
    EXPECT_EQ(BuildOrderList(SystemFileSystem(), tree.Root(), "", 10, {}), all);
    EXPECT_EQ(BuildOrderList(SystemFileSystem(), tree.Root(), "起動時に選択", 10, {}), all);
    EXPECT_TRUE(BuildOrderList(SystemFileSystem(), tree.Root(), "gone", 10, stored).empty());
}

TEST(OrderDialogTest, CtrlArrowsMoveTheSelectedItemWithinTheList) {
    ReorderKeys keys;
    EXPECT_EQ(keys.OnKeyDown(kKeyUp), OrderMove::kNone);
    EXPECT_EQ(keys.OnKeyDown(kKeyControl), OrderMove::kNone);
    EXPECT_EQ(keys.OnKeyDown(kKeyControl), OrderMove::kNone);  // auto-repeat
    EXPECT_EQ(keys.OnKeyDown(kKeyUp), OrderMove::kUp);
    EXPECT_EQ(keys.OnKeyDown(kKeyDown), OrderMove::kDown);
    EXPECT_EQ(keys.OnKeyDown('A'), OrderMove::kNone);
    keys.OnKeyUp(kKeyUp);
    EXPECT_TRUE(keys.CtrlDown());
    keys.OnKeyUp(kKeyControl);
    EXPECT_EQ(keys.OnKeyDown(kKeyDown), OrderMove::kNone);

    EXPECT_EQ(OrderMoveTarget(0, 3, OrderMove::kUp), -1);
    EXPECT_EQ(OrderMoveTarget(2, 3, OrderMove::kDown), -1);
    EXPECT_EQ(OrderMoveTarget(1, 3, OrderMove::kUp), 0);
    EXPECT_EQ(OrderMoveTarget(1, 3, OrderMove::kDown), 2);
    EXPECT_EQ(OrderMoveTarget(-1, 3, OrderMove::kDown), -1);
    EXPECT_EQ(OrderMoveTarget(-1, 0, OrderMove::kUp), -1);
    EXPECT_EQ(OrderMoveTarget(0, 1, OrderMove::kDown), -1);
    EXPECT_EQ(OrderMoveTarget(5, 3, OrderMove::kUp), -1);
    EXPECT_EQ(OrderMoveTarget(1, 3, OrderMove::kNone), -1);
}

}  // namespace
}  // namespace zz
