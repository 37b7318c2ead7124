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
    EXPECT_EQ(BuildOrderList(tree, tree.Root(), "", 2, stored).rows,
              (Names{"z.png", "g\\c.png", "a.png", "b.png"}));
    const OrderListing all = BuildOrderList(tree, tree.Root(), "", 10, stored);
    EXPECT_EQ(all.rows, (Names{"z.png", "g\\c.png", "a.png", "b.png", "dog.png", "e.JPG"}));
    // With all groups shown, entries whose files are gone are left out after OK.
    EXPECT_EQ(MergeOrder(stored, all, all.rows), all.rows);
    // Entries stored twice are shown twice, as the list holds them.
    EXPECT_EQ(BuildOrderList(tree, tree.Root(), "", 1, {"b.png", "b.png"}).rows,
              (Names{"b.png", "b.png", "a.png"}));
}

TEST(OrderDialogTest, AGroupShowsItsOwnPicturesAndOkKeepsOtherGroupsEntriesInPlace) {
    test::MemoryTree tree;
    for (const char* name : {"animals/cat.png", "animals/dog.png", "animals/farm/cow.png",
                             "cars/bus.png", "cars/cat.png"}) {
        tree.File(std::string("images/") + name);
    }
    const Names stored = {"cars\\bus.png",    "animals\\farm\\cow.png", "cars\\cat.png",
                          "animals\\dog.png", "animals\\gone.png",      "cars\\gone.png"};
    // cars\cat.png is shown for its namesake in the group.
    const OrderListing listing = BuildOrderList(tree, tree.Root(), "animals", 10, stored);
    EXPECT_EQ(listing.rows, (Names{"animals\\farm\\cow.png", "cars\\cat.png", "animals\\dog.png",
                                   "animals\\cat.png"}));
    EXPECT_EQ(MergeOrder(stored, listing, listing.rows),
              (Names{"cars\\bus.png", "animals\\farm\\cow.png", "cars\\cat.png", "animals\\dog.png",
                     "cars\\gone.png", "animals\\cat.png"}));
    // Moved rows take the shown entries' places, in their new order.
    EXPECT_EQ(MergeOrder(stored, listing,
                         {"animals\\cat.png", "animals\\dog.png", "cars\\cat.png",
                          "animals\\farm\\cow.png"}),
              (Names{"cars\\bus.png", "animals\\cat.png", "animals\\dog.png", "cars\\cat.png",
                     "cars\\gone.png", "animals\\farm\\cow.png"}));
    // The start-up choice takes the whole images folder.
    EXPECT_EQ(BuildOrderList(tree, tree.Root(), "起動時に選択", 10, {}).rows.size(), 5u);
    const OrderListing gone = BuildOrderList(tree, tree.Root(), "gone", 10, stored);
    EXPECT_TRUE(gone.rows.empty());
    EXPECT_EQ(MergeOrder(stored, gone, {}), stored);
}

TEST(OrderDialogTest, StoredNamesAreFoundInTheFormTheFileHoldsAndCollisionsAreTold) {
    test::MemoryTree tree;
    for (const char* name : {"images/〜あか/r.png", "images/〜あか/s.png", "images/あお/b.png"}) {
        tree.File(name);
    }
    // As a code page 932 file holds them: the wave dash is '?'.
    const Names stored = {"?あか\\s.png", "あお\\b.png"};
    const OrderListing listing =
        BuildOrderList(tree, tree.Root(), "〜あか", 10, stored, TextEncoding::kCp932);
    EXPECT_EQ(listing.rows, (Names{"〜あか\\s.png", "〜あか\\r.png"}));
    EXPECT_EQ(MergeOrder(stored, listing, listing.rows),
              (Names{"〜あか\\s.png", "あお\\b.png", "〜あか\\r.png"}));
    // A Unicode file holds names as they are: '?' is another group, shown for its namesake.
    EXPECT_EQ(BuildOrderList(tree, tree.Root(), "〜あか", 10, stored, TextEncoding::kUtf16Le).rows,
              (Names{"?あか\\s.png", "〜あか\\r.png", "〜あか\\s.png"}));

    const Names rows = {"a.png", "〜.png", "b.png", "é.png"};
    const std::string told = OrderCollisionMessage(rows, TextEncoding::kCp932);
    EXPECT_NE(told.find("「〜.png」"), std::string::npos);
    EXPECT_NE(told.find("「é.png」"), std::string::npos);
    EXPECT_EQ(told.find("「a.png」"), std::string::npos);
    EXPECT_EQ(OrderCollisionMessage(rows, TextEncoding::kUtf8), "");
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
