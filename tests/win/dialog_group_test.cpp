#include <gtest/gtest.h>

#include <array>

#include "dialogs/win32/group_pick_dlg.h"
#include "dialogs/win32/group_select_dlg.h"
#include "resources/dialog_ids.h"
#include "tests/unit/temp_tree.h"
#include "tests/win/dialog_test_support.h"

namespace zz {
namespace {

using test::TempTree;

constexpr std::array<int, 12> kRadios = {IDC_GROUP_RADIO0, IDC_GROUP_RADIO1,  IDC_GROUP_RADIO2,
                                         IDC_GROUP_RADIO3, IDC_GROUP_RADIO4,  IDC_GROUP_RADIO5,
                                         IDC_GROUP_RADIO6, IDC_GROUP_RADIO7,  IDC_GROUP_RADIO8,
                                         IDC_GROUP_RADIO9, IDC_GROUP_RADIO10, IDC_GROUP_RADIO11};
constexpr std::array<int, 10> kButtons = {
    IDC_PICK_BUTTON0, IDC_PICK_BUTTON1, IDC_PICK_BUTTON2, IDC_PICK_BUTTON3, IDC_PICK_BUTTON4,
    IDC_PICK_BUTTON5, IDC_PICK_BUTTON6, IDC_PICK_BUTTON7, IDC_PICK_BUTTON8, IDC_PICK_BUTTON9};

void MakeGroups(TempTree& tree) {
    tree.Folder("images/animals");
    tree.Folder("images/Tom & Jerry");
    tree.Folder("images/のりもの");
    tree.File("images/loose.png");
}

TEST(GroupSelectDlgTest, ShowsTheGroupsFoundAndStoresTheChosenOne) {
    TempTree tree;
    MakeGroups(tree);
    CGroupSelectDlg dlg(tree.Root());
    dlg.m_strGroup = "のりもの";
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND dialog = dlg.GetHwnd();
    EXPECT_EQ(GetItemText(dialog, kRadios[2]), "animals");
    EXPECT_EQ(GetItemText(dialog, kRadios[3]), "Tom && Jerry");  // no mnemonic
    for (int radio = 0; radio < 12; ++radio) {
        EXPECT_EQ(IsWindowVisible(GetDlgItem(dialog, kRadios[radio])) != FALSE, radio < 5) << radio;
        EXPECT_EQ(test::IsChecked(dialog, kRadios[radio]), radio == 4) << radio;
    }
    test::Click(dialog, kRadios[3]);
    test::Click(dialog, IDOK);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.m_strGroup, "Tom & Jerry");
}

TEST(GroupSelectDlgTest, GroupsTheFileWouldHoldUnderOneNameAreToldAndOkWaits) {
    TempTree tree;
    tree.Folder("images/é");
    tree.Folder("images/〜");
    CGroupSelectDlg dlg(tree.Root());
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND dialog = dlg.GetHwnd();
    test::Click(dialog, kRadios[3]);
    bool told = false;
    {
        test::ModalDriver driver;
        driver.When("Zoomzap", [&](HWND box) {
            told = true;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        test::Click(dialog, IDOK);
        EXPECT_TRUE(driver.Done());
    }
    dlg.PumpMessages();
    EXPECT_TRUE(told);
    EXPECT_FALSE(dlg.IsEnded());
    test::Click(dialog, kRadios[0]);  // all groups can always be stored
    test::Click(dialog, IDOK);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.m_strGroup, "");
}

TEST(GroupPickDlgTest, DigitsOnBothKeyboardsPickEnabledButtonsOnly) {
    TempTree tree;
    MakeGroups(tree);
    CGroupPickDlg dlg(tree.Root());
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND dialog = dlg.GetHwnd();
    for (int button = 0; button < 10; ++button) {
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, kButtons[button])) != FALSE, button < 3);
    }
    HWND focused = GetDlgItem(dialog, kButtons[0]);
    test::Key(focused, WM_KEYDOWN, '5');
    test::Key(focused, WM_KEYDOWN, VK_NUMPAD0);
    test::Key(focused, WM_SYSKEYDOWN, '2');  // with Alt held: not a choice
    dlg.PumpMessages();
    EXPECT_FALSE(dlg.IsEnded());
    test::Key(focused, WM_KEYDOWN, VK_NUMPAD2);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.GetResult(), IDOK);
    EXPECT_EQ(dlg.m_strGroup, "Tom & Jerry");
}

}  // namespace
}  // namespace zz
