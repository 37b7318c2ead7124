// The dialogs as a parent meets them: each run through its function and driven by clicks and
// keys inside its own modal loop, the texts it tells read from its message boxes.

#include <gtest/gtest.h>

#include "dialogs/win32/group_pick_dlg.h"
#include "dialogs/win32/settings_dlg.h"
#include "resources/dialog_ids.h"
#include "settings/app_settings.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/temp_tree.h"

namespace zz {
namespace {

using test::Click;
using test::Names;

// A message box whose text holds part, closed with OK.
std::function<void(HWND)> Told(std::string part) {
    return [part](HWND box) {
        EXPECT_NE(test::MessageText(box).find(part), std::string::npos) << part;
        Click(box, IDOK);
    };
}

// A key pressed on the order dialog's list, with Ctrl held, once the list shows these rows.
std::function<void(HWND)> CtrlKey(WPARAM key, Names rows) {
    return [key, rows](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_ORDER_LIST);
        EXPECT_EQ(test::ListRows(list), rows);
        for (const auto& [vk, message] : {std::pair{WPARAM{VK_CONTROL}, WM_KEYDOWN},
                                          {key, WM_KEYDOWN},
                                          {key, WM_KEYUP},
                                          {WPARAM{VK_CONTROL}, WM_KEYUP}}) {
            test::Key(list, vk, message);
        }
    };
}

// The sound rows once the picture list shows rows: picture row p gets sound row s by Enter.
std::function<void(HWND)> Assign(Names rows, int picture, int sound) {
    return [rows, picture, sound](HWND dialog) {
        HWND pictures = GetDlgItem(dialog, IDC_PICTURE_LIST);
        EXPECT_EQ(test::ListRows(pictures), rows);
        EXPECT_EQ(test::ListRows(GetDlgItem(dialog, IDC_SOUND_LIST)),
                  (Names{"ランダム", "x.wav", "y.wav"}));
        SelectListRow(pictures, picture);
        SelectListRow(GetDlgItem(dialog, IDC_SOUND_LIST), sound);
        SetFocus(pictures);
        test::Key(pictures, VK_RETURN);
    };
}

// Sounds assigned are stored at once, whichever way the settings dialog is left; names that the
// settings file cannot hold apart, or not at all, are told in the dialog that would store them.
TEST(DialogWindows, TheSettingsDialogAndTheDialogsItOpens) {
    test::TempTree tree;
    for (const char* name : {"images/g/a.png", "images/g/b.png", "images/k=v.png", "images/é.png",
                             "images/〜.png", "sounds/x.wav", "sounds/y.wav"}) {
        tree.File(name);
    }
    tree.Folder("images/é");
    tree.Folder("images/〜");
    CAppSettings store(tree.Root());
    ASSERT_TRUE(store.WriteInts(kSettingsSection, {{"速さ", 50}, {"音声", 1}}));
    ASSERT_TRUE(store.WriteInt(kSoundMapSection, "g\\b.png", 0));
    const Settings before = store.Load();
    test::ModalDriver driver;
    driver.When("設定", [](HWND dialog) {
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_ASSIGN_SOUNDS)));
        SetDlgItemTextW(dialog, IDC_SPEED, L"700");
        Click(dialog, IDC_ASSIGN_SOUNDS);
        Click(dialog, IDC_GROUP_SELECT);
        Click(dialog, IDC_DISPLAY_IN_ORDER);  // the order dialog comes at every click
        Click(dialog, IDC_DISPLAY_IN_ORDER);
        Click(dialog, IDCANCEL);
    });
    const Names pictures = {"g\\a.png = ランダム", "g\\b.png = x.wav", "k=v.png = ランダム",
                            "é.png = ランダム", "〜.png = ランダム"};
    driver.When("音声割り付け", Assign(pictures, 2, 1));
    driver.When("Zoomzap", Told("「k=v.png」は、名前に「=」がある"));
    driver.When("音声割り付け", Assign(pictures, 0, 2));  // Enter keeps the dialog open
    driver.When("音声割り付け", [](HWND dialog) {
        EXPECT_EQ(test::ListRows(GetDlgItem(dialog, IDC_PICTURE_LIST))[0], "g\\a.png = y.wav");
        Click(dialog, IDOK);
    });
    driver.When("グループ選択", [](HWND dialog) {
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_GROUP_RADIO0), BST_CHECKED);
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_GROUP_RADIO5)));
        Click(dialog, IDC_GROUP_RADIO3);
        Click(dialog, IDOK);
    });
    driver.When("Zoomzap", Told("「〜」"));
    driver.When("グループ選択", test::Cancel);
    const Names rows = {"g\\a.png", "g\\b.png", "k=v.png", "é.png", "〜.png"};
    driver.When("並べ替え", CtrlKey(VK_UP, rows));  // nothing above the first row
    driver.When("並べ替え", CtrlKey(VK_DOWN, rows));
    driver.When("並べ替え", [](HWND dialog) {
        EXPECT_EQ(test::ListRows(GetDlgItem(dialog, IDC_ORDER_LIST))[1], "g\\a.png");
        Click(dialog, IDOK);
    });
    driver.When("Zoomzap", Told("「〜.png」"));
    driver.When("並べ替え", test::Cancel);
    driver.When("並べ替え", test::Cancel);
    EXPECT_EQ(RunSettingsDialog(nullptr, {tree.Root()}), std::nullopt);
    EXPECT_TRUE(store.Load() == before);
    EXPECT_EQ(std::pair(store.ReadInt(kSoundMapSection, "g\\a.png", 9),
                        store.ReadInt(kSoundMapSection, "g\\b.png", 9)),
              std::pair(1, 0));
    EXPECT_TRUE(driver.Done());
}

TEST(DialogWindows, TheSettingsDialogTellsAFailedSaveAndStaysOpenWithWhatWasEntered) {
    test::TempTree tree;
    const std::string gone = JoinPath(tree.Root(), "gone");
    test::ModalDriver driver;
    driver.When("設定", [](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_MAX_ZOOM, L"  25%");
        Click(dialog, IDC_MOUSE_ON);
        Click(dialog, IDOK);
    });
    driver.When("Zoomzap", [&](HWND box) {
        tree.Folder("gone");
        Told(JoinPath(gone, "Zoomzap.ini"))(box);
    });
    driver.When("設定", [](HWND dialog) { Click(dialog, IDOK); });
    EXPECT_EQ(RunSettingsDialog(nullptr, {gone})->mediaChanged, false);
    const Settings saved = CAppSettings(gone).Load();
    EXPECT_EQ(std::tuple(saved.maxZoom, saved.mouse), std::tuple(25, OnOff::kOn));
    EXPECT_TRUE(driver.Done());
}

TEST(DialogWindows, TheGroupPickerTakesDigitsOfEitherKeyboardForItsEnabledButtons) {
    test::TempTree tree;
    for (const char* group : {"images/animals", "images/Tom & Jerry"}) {
        tree.Folder(group);
    }
    test::ModalDriver driver;
    driver.When("グループを選択して下さい", [](HWND dialog) {
        EXPECT_EQ(GetItemText(dialog, IDC_PICK_BUTTON1), "Tom && Jerry");  // no mnemonic
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_PICK_BUTTON2)));
        // A button without a group, and a digit with Alt held, are no choice.
        for (const auto& [key, message] :
             {std::pair{WPARAM{'3'}, WM_KEYDOWN}, {WPARAM{'2'}, WM_SYSKEYDOWN}}) {
            test::Key(GetDlgItem(dialog, IDC_PICK_BUTTON0), key, message);
        }
    });
    driver.When("グループを選択して下さい",
                [](HWND dialog) { test::Key(GetDlgItem(dialog, IDC_PICK_BUTTON0), VK_NUMPAD2); });
    EXPECT_EQ(RunGroupPickDialog(nullptr, {tree.Root()}), "Tom & Jerry");
    driver.When("グループを選択して下さい", test::Cancel);
    EXPECT_EQ(RunGroupPickDialog(nullptr, {tree.Root()}), std::nullopt);
    EXPECT_TRUE(driver.Done());
}

}  // namespace
}  // namespace zz
