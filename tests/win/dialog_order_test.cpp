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

TEST(OrderDlgTest, CtrlArrowsCarryTheSelectedRowAndOkKeepsOtherGroups) {
    test::TempTree tree;
    for (const char* name : {"images/g/a.png", "images/g/b.png", "images/g/c.png"}) {
        tree.File(name);
    }
    COrderDlg dlg(tree.Root());
    dlg.m_strGroup = "g";
    dlg.m_nMaxCount = 10;
    // A stored name no longer on disk is dropped, another group's entry kept in its place.
    dlg.m_arrOrder = {"h\\x.png", "g\\c.png", "g\\gone.png"};
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND list = GetDlgItem(dlg.GetHwnd(), IDC_ORDER_LIST);
    EXPECT_EQ(ListRows(list), (Names{"g\\c.png", "g\\a.png", "g\\b.png"}));
    EXPECT_EQ(GetFocus(), list);

    Press(dlg, list, VK_UP, true);
    EXPECT_EQ(ListRows(list), (Names{"g\\c.png", "g\\a.png", "g\\b.png"}));
    EXPECT_EQ(ListSelection(list), 0);
    for (int i = 0; i < 3; ++i) {
        Press(dlg, list, VK_DOWN, true);
    }
    EXPECT_EQ(ListRows(list), (Names{"g\\a.png", "g\\b.png", "g\\c.png"}));
    EXPECT_EQ(ListSelection(list), 2);
    Press(dlg, list, VK_UP, true);
    Press(dlg, list, VK_UP, false);  // without Ctrl only the selection moves
    EXPECT_EQ(ListRows(list), (Names{"g\\a.png", "g\\c.png", "g\\b.png"}));
    EXPECT_EQ(ListSelection(list), 0);

    test::Key(list, WM_KEYDOWN, VK_RETURN);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.GetResult(), IDOK);
    EXPECT_EQ(dlg.m_arrOrder, (Names{"h\\x.png", "g\\a.png", "g\\c.png", "g\\b.png"}));
}

TEST(OrderDlgTest, RowsTheFileWouldHoldUnderOneNameAreToldAndOkWaits) {
    test::TempTree tree;
    tree.File("images/〜.png");
    tree.File("images/é.png");
    COrderDlg dlg(tree.Root());
    dlg.m_nMaxCount = 10;
    ASSERT_TRUE(dlg.Create(nullptr));
    bool told = false;
    {
        test::ModalDriver driver;
        driver.When("Zoomzap", [&](HWND box) {
            told = true;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        test::Click(dlg.GetHwnd(), IDOK);
        EXPECT_TRUE(driver.Done());
    }
    dlg.PumpMessages();
    EXPECT_TRUE(told);
    EXPECT_FALSE(dlg.IsEnded());
    dlg.m_encoding = TextEncoding::kUtf16Le;  // a Unicode file tells them apart
    test::Click(dlg.GetHwnd(), IDOK);
    dlg.PumpMessages();
    EXPECT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.m_arrOrder, (Names{"é.png", "〜.png"}));
}

}  // namespace
}  // namespace zz
