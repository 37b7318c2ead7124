#include "dialogs/win32/order_dlg.h"

#include <gtest/gtest.h>

#include "resources/dialog_ids.h"
#include "tests/unit/temp_tree.h"
#include "tests/win/dialog_test_support.h"

namespace zz {
namespace {

using test::ListRows;
using test::Names;
using test::TempTree;

class OrderDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        tree.File("images/a.png");
        tree.File("images/b.png");
        tree.File("images/c.png");
        dlg.m_nMaxCount = 10;
        dlg.m_arrOrder = {"c.png", "gone.png"};
        ASSERT_TRUE(dlg.Create(nullptr));
        list = GetDlgItem(dlg.GetHwnd(), IDC_ORDER_LIST);
    }

    void Press(WPARAM key, bool ctrl) {
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

    TempTree tree;
    COrderDlg dlg{tree.Root()};
    HWND list = nullptr;
};

TEST_F(OrderDlgTest, CtrlArrowsCarryTheSelectedRowAndStopAtTheEnds) {
    EXPECT_EQ(ListRows(list), (Names{"c.png", "a.png", "b.png"}));
    EXPECT_EQ(ListSelection(list), 0);
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(GetWindowLongW(dlg.GetHwnd(), GWL_STYLE) & WS_SYSMENU, 0);

    Press(VK_UP, true);
    EXPECT_EQ(ListRows(list), (Names{"c.png", "a.png", "b.png"}));
    EXPECT_EQ(ListSelection(list), 0);

    Press(VK_DOWN, true);
    Press(VK_DOWN, true);
    EXPECT_EQ(ListRows(list), (Names{"a.png", "b.png", "c.png"}));
    EXPECT_EQ(ListSelection(list), 2);
    Press(VK_DOWN, true);
    EXPECT_EQ(ListRows(list), (Names{"a.png", "b.png", "c.png"}));
    EXPECT_EQ(ListSelection(list), 2);

    Press(VK_UP, true);
    EXPECT_EQ(ListRows(list), (Names{"a.png", "c.png", "b.png"}));
    EXPECT_EQ(ListSelection(list), 1);

    // Without Ctrl the arrows only move the selection.
    Press(VK_UP, false);
    EXPECT_EQ(ListRows(list), (Names{"a.png", "c.png", "b.png"}));
    EXPECT_EQ(ListSelection(list), 0);

    test::Key(list, WM_KEYDOWN, VK_RETURN);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.GetResult(), IDOK);
    EXPECT_EQ(dlg.m_arrOrder, (Names{"a.png", "c.png", "b.png"}));
}

TEST_F(OrderDlgTest, EscapeKeepsTheCallersList) {
    Press(VK_DOWN, true);
    EXPECT_EQ(ListRows(list), (Names{"a.png", "c.png", "b.png"}));
    test::Key(list, WM_KEYDOWN, VK_ESCAPE);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.GetResult(), IDCANCEL);
    EXPECT_EQ(dlg.m_arrOrder, (Names{"c.png", "gone.png"}));
}

}  // namespace
}  // namespace zz
