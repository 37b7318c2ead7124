#include "dialogs/win32/order_dlg.h"

#include <gtest/gtest.h>

#include "resources/dialog_ids.h"
#include "tests/unit/temp_tree.h"
#include "tests/win/dialog_test_support.h"

namespace zz {
namespace {

using test::ListRows;
using test::Names;

void Press(COrderDlg& dlg, HWND list, WPARAM key, bool ctrl) {
    if (ctrl) {
        test::Key(list, WM_KEYDOWN, VK_CONTROL);
    }
    test::Key(list, WM_KEYDOWN, key);
    test::Key(list, WM_KEYUP, key);
    if (ctrl) {
        test::Key(list, WM_KEYUP, VK_CONTROL);
    }
    dlg.PumpMessages();
}

TEST(OrderDlgTest, CtrlArrowsCarryTheSelectedRowAndStopAtTheEnds) {
    test::TempTree tree;
    for (const char* name : {"images/a.png", "images/b.png", "images/c.png"}) {
        tree.File(name);
    }
    COrderDlg dlg(tree.Root());
    dlg.m_nMaxCount = 10;
    dlg.m_arrOrder = {"c.png", "gone.png"};  // a stored name no longer on disk is dropped
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND list = GetDlgItem(dlg.GetHwnd(), IDC_ORDER_LIST);
    EXPECT_EQ(ListRows(list), (Names{"c.png", "a.png", "b.png"}));
    EXPECT_EQ(GetFocus(), list);

    Press(dlg, list, VK_UP, true);
    EXPECT_EQ(ListRows(list), (Names{"c.png", "a.png", "b.png"}));
    EXPECT_EQ(ListSelection(list), 0);
    for (int i = 0; i < 3; ++i) {
        Press(dlg, list, VK_DOWN, true);
    }
    EXPECT_EQ(ListRows(list), (Names{"a.png", "b.png", "c.png"}));
    EXPECT_EQ(ListSelection(list), 2);
    Press(dlg, list, VK_UP, true);
    Press(dlg, list, VK_UP, false);  // without Ctrl only the selection moves
    EXPECT_EQ(ListRows(list), (Names{"a.png", "c.png", "b.png"}));
    EXPECT_EQ(ListSelection(list), 0);

    test::Key(list, WM_KEYDOWN, VK_RETURN);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.GetResult(), IDOK);
    EXPECT_EQ(dlg.m_arrOrder, (Names{"a.png", "c.png", "b.png"}));
}

}  // namespace
}  // namespace zz
