#include "dialogs/win32/sound_assign_dlg.h"

#include <gtest/gtest.h>

#include "resources/dialog_ids.h"
#include "settings/app_settings.h"
#include "settings/settings_keys.h"
#include "tests/unit/temp_tree.h"
#include "tests/win/dialog_test_support.h"

namespace zz {
namespace {

using test::ListRows;
using test::Names;
using test::TempTree;

TEST(SoundAssignDlgTest, ShowsRowsAndEnterAssignsWithoutClosing) {
    TempTree tree;
    tree.File("images/dog.png");
    tree.File("images/animals/Cow.JPG");
    tree.File("sounds/a.wav");
    tree.File("sounds/b.wav");
    {
        CAppSettings store(tree.Root());
        ASSERT_TRUE(store.WriteInt(keys::kSoundFileSection, "dog.png", 7));
    }
    CSoundAssignDlg dlg(tree.Root());
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND dialog = dlg.GetHwnd();
    HWND pictures = GetDlgItem(dialog, IDC_PICTURE_LIST);
    HWND sounds = GetDlgItem(dialog, IDC_SOUND_LIST);
    EXPECT_EQ(ListRows(pictures), (Names{"animals\\Cow.JPG = ランダム", "dog.png = ランダム"}));
    EXPECT_EQ(ListRows(sounds), (Names{"a.wav", "b.wav"}));
    EXPECT_EQ(ListSelection(pictures), 0);
    EXPECT_EQ(ListSelection(sounds), 0);
    EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), IDC_ASSIGN);
    EXPECT_EQ(GetWindowLongW(pictures, GWL_STYLE) & LBS_SORT, 0);
    EXPECT_EQ(GetWindowLongW(sounds, GWL_STYLE) & LBS_SORT, 0);

    SelectListRow(pictures, 1);
    SelectListRow(sounds, 1);
    SetFocus(pictures);
    test::Key(pictures, WM_KEYDOWN, VK_RETURN);
    dlg.PumpMessages();
    EXPECT_FALSE(dlg.IsEnded());
    EXPECT_EQ(ListRows(pictures), (Names{"animals\\Cow.JPG = ランダム", "dog.png = b.wav"}));
    EXPECT_EQ(ListSelection(pictures), 1);

    test::Click(dialog, IDOK);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.GetResult(), IDOK);
    EXPECT_EQ(dlg.m_pictureNames, (Names{"animals\\Cow.JPG", "dog.png"}));
    EXPECT_EQ(dlg.m_assignments, (std::vector<int>{-1, 1}));
    // The dialog itself writes nothing.
    const CAppSettings store(tree.Root());
    EXPECT_EQ(store.ReadInt(keys::kSoundFileSection, "dog.png", 99), 7);
}

TEST(SoundAssignDlgTest, AssignWithAnEmptyListChangesNothing) {
    TempTree tree;
    tree.File("images/a.png");
    tree.File("images/b.png");
    CSoundAssignDlg dlg(tree.Root());
    dlg.m_nMaxCount = 1;
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND pictures = GetDlgItem(dlg.GetHwnd(), IDC_PICTURE_LIST);
    EXPECT_EQ(ListRows(pictures), (Names{"a.png = ランダム"}));
    test::Click(dlg.GetHwnd(), IDC_ASSIGN);
    dlg.PumpMessages();
    EXPECT_EQ(ListRows(pictures), (Names{"a.png = ランダム"}));
    EXPECT_EQ(dlg.m_assignments, (std::vector<int>{-1}));

    test::Key(pictures, WM_KEYDOWN, VK_ESCAPE);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.GetResult(), IDCANCEL);
}

}  // namespace
}  // namespace zz
