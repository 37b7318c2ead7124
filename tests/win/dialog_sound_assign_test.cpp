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

TEST(SoundAssignDlgTest, ShowsRowsAndEnterAssignsWithoutClosing) {
    test::TempTree tree;
    for (const char* name : {"images/dog.png", "images/animals/Cow.JPG", "images/k=v.png",
                             "sounds/a.wav", "sounds/b.wav"}) {
        tree.File(name);
    }
    {
        CAppSettings store(tree.Root());
        ASSERT_TRUE(store.WriteInt(keys::kSoundFileSection, "dog.png", 7));
    }
    CSoundAssignDlg dlg(tree.Root());
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND dialog = dlg.GetHwnd();
    HWND pictures = GetDlgItem(dialog, IDC_PICTURE_LIST);
    HWND sounds = GetDlgItem(dialog, IDC_SOUND_LIST);
    const Names before = {"animals\\Cow.JPG = ランダム", "dog.png = ランダム",
                          "k=v.png = ランダム"};
    EXPECT_EQ(ListRows(pictures), before);
    EXPECT_EQ(ListRows(sounds), (Names{"ランダム", "a.wav", "b.wav"}));

    // A name that cannot be a key: the parent is told, and nothing changes.
    SelectListRow(pictures, 2);
    SelectListRow(sounds, 1);
    bool told = false;
    {
        test::ModalDriver driver;
        driver.When("Zoomzap", [&](HWND box) {
            told = true;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        test::Click(dialog, IDC_ASSIGN);
        EXPECT_TRUE(driver.Done());
    }
    EXPECT_TRUE(told);
    EXPECT_EQ(ListRows(pictures), before);

    SelectListRow(pictures, 1);
    SelectListRow(sounds, 2);
    SetFocus(pictures);
    test::Key(pictures, WM_KEYDOWN, VK_RETURN);
    dlg.PumpMessages();
    EXPECT_FALSE(dlg.IsEnded());
    EXPECT_EQ(ListRows(pictures),
              (Names{"animals\\Cow.JPG = ランダム", "dog.png = b.wav", "k=v.png = ランダム"}));

    test::Click(dialog, IDOK);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.m_assignments, (std::vector<int>{-1, 1, -1}));
    // The dialog itself writes nothing.
    EXPECT_EQ(CAppSettings(tree.Root()).ReadInt(keys::kSoundFileSection, "dog.png", 99), 7);
}

}  // namespace
}  // namespace zz
