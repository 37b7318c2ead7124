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
    EXPECT_EQ(test::ItemText(dialog, kRadios[0]), "全グループ");
    EXPECT_EQ(test::ItemText(dialog, kRadios[1]), "起動時に選択");
    EXPECT_EQ(test::ItemText(dialog, kRadios[2]), "animals");
    EXPECT_EQ(test::ItemText(dialog, kRadios[3]), "Tom && Jerry");
    for (int radio = 0; radio < 12; ++radio) {
        HWND button = GetDlgItem(dialog, kRadios[radio]);
        EXPECT_EQ(IsWindowVisible(button) != FALSE, radio < 5) << radio;
        EXPECT_EQ(test::IsChecked(dialog, kRadios[radio]), radio == 4) << radio;
    }

    test::Click(dialog, kRadios[3]);
    EXPECT_FALSE(test::IsChecked(dialog, kRadios[4]));
    test::Click(dialog, IDOK);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.GetResult(), IDOK);
    EXPECT_EQ(dlg.m_strGroup, "Tom & Jerry");
}

TEST(GroupSelectDlgTest, UnknownNameShowsAllGroupsAndCancelKeepsTheValue) {
    TempTree tree;
    MakeGroups(tree);
    CGroupSelectDlg dlg(tree.Root());
    dlg.m_strGroup = "Animals";
    ASSERT_TRUE(dlg.Create(nullptr));
    EXPECT_TRUE(test::IsChecked(dlg.GetHwnd(), kRadios[0]));
    test::Click(dlg.GetHwnd(), kRadios[1]);
    test::Click(dlg.GetHwnd(), IDCANCEL);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.GetResult(), IDCANCEL);
    EXPECT_EQ(dlg.m_strGroup, "Animals");

    CGroupSelectDlg choose(tree.Root());
    choose.m_strGroup = "起動時に選択";
    ASSERT_TRUE(choose.Create(nullptr));
    EXPECT_TRUE(test::IsChecked(choose.GetHwnd(), kRadios[1]));
    test::Click(choose.GetHwnd(), IDOK);
    choose.PumpMessages();
    EXPECT_EQ(choose.m_strGroup, "起動時に選択");
}

TEST(GroupPickDlgTest, DigitsOnBothKeyboardsPickEnabledButtonsOnly) {
    TempTree tree;
    MakeGroups(tree);
    CGroupPickDlg dlg(tree.Root());
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND dialog = dlg.GetHwnd();
    const std::array<std::string, 10> captions = {
        "animals", "Tom && Jerry", "のりもの", "4", "5", "6", "7", "8", "9", "0"};
    for (int button = 0; button < 10; ++button) {
        EXPECT_EQ(test::ItemText(dialog, kButtons[button]), captions[button]) << button;
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

    CGroupPickDlg main(tree.Root());
    ASSERT_TRUE(main.Create(nullptr));
    test::Key(main.GetHwnd(), WM_KEYDOWN, '3');
    main.PumpMessages();
    EXPECT_EQ(main.m_strGroup, "のりもの");
}

TEST(GroupPickDlgTest, WithoutGroupsOnlyEscapeLeavesWithNothing) {
    TempTree tree;
    CGroupPickDlg dlg(tree.Root());
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND dialog = dlg.GetHwnd();
    for (int button = 0; button < 10; ++button) {
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kButtons[button])));
    }
    test::Key(dialog, WM_KEYDOWN, '1');
    dlg.PumpMessages();
    EXPECT_FALSE(dlg.IsEnded());
    test::Key(dialog, WM_KEYDOWN, VK_ESCAPE);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.GetResult(), IDCANCEL);
    EXPECT_EQ(dlg.m_strGroup, "");
}

}  // namespace
}  // namespace zz
