#include "dialogs/win32/settings_dlg.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dialogs/win32/list_box.h"
#include "resources/dialog_ids.h"
#include "settings/app_settings.h"
#include "settings/settings_keys.h"
#include "tests/unit/temp_tree.h"
#include "tests/win/dialog_test_support.h"

namespace zz {
namespace {

using test::Click;
using test::IsChecked;
using test::ItemText;
using test::ModalDriver;
using test::Names;
using test::TempTree;

// Tells the parent nothing on screen: what would be shown is kept for the test.
class TestSettingsDlg : public CSettingsDlg {
public:
    using CSettingsDlg::CSettingsDlg;
    Names messages;
    Names folders;

protected:
    void ShowMessage(const std::string& text, UINT) override { messages.push_back(text); }
    void OpenFolder(const std::string& folder) override { folders.push_back(folder); }
};

void StoreInts(const std::string& folder,
               std::initializer_list<std::pair<std::string_view, int>> values) {
    CAppSettings store(folder);
    for (const auto& [key, value] : values) {
        ASSERT_TRUE(store.WriteInt(keys::kSettingsSection, key, value));
    }
}

CAppSettings Reloaded(const std::string& folder) {
    CAppSettings store(folder);
    store.Load();
    return store;
}

LRESULT ComboSelection(HWND dialog, int id) {
    return SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
}

TEST(SettingsDlgTest, ShowsTheStoredValuesAndOkStoresWhatIsShown) {
    TempTree tree;
    StoreInts(tree.Root(), {{keys::kSpeed, 3},
                            {keys::kGrowth, 15},
                            {keys::kRotation, 5},
                            {keys::kStartMode, 1},
                            {keys::kSound, 0},
                            {keys::kMaxMedia, -1},
                            {keys::kDisplayOrder, 0}});
    TestSettingsDlg dlg(tree.Root());
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND dialog = dlg.GetHwnd();
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_GROWTH, CB_GETCOUNT, 0, 0), 8);
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_MAX_ZOOM, CB_GETCOUNT, 0, 0), 9);
    EXPECT_EQ(ItemText(dialog, IDC_SPEED), "300");
    EXPECT_EQ(ComboSelection(dialog, IDC_SPEED), 4);
    EXPECT_EQ(ItemText(dialog, IDC_GROWTH), "15");
    EXPECT_EQ(ComboSelection(dialog, IDC_GROWTH), CB_ERR);
    EXPECT_EQ(ItemText(dialog, IDC_MAX_ZOOM), "100");
    EXPECT_FALSE(IsChecked(dialog, IDC_ROTATION_OFF));
    EXPECT_FALSE(IsChecked(dialog, IDC_ROTATION_ON));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_ROTATION_OFF)));
    EXPECT_TRUE(IsChecked(dialog, IDC_START_FULL));
    EXPECT_FALSE(IsChecked(dialog, IDC_MAX_MEDIA_10) || IsChecked(dialog, IDC_MAX_MEDIA_100));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_ASSIGN_SOUNDS)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_ORDER)));
    // The focus lies in the first combo box's edit field.
    EXPECT_TRUE(IsChild(GetDlgItem(dialog, IDC_GROWTH), GetFocus()));

    SetDlgItemTextW(dialog, IDC_MAX_ZOOM, L"  25%");
    Click(dialog, IDC_MOUSE_ON);
    Click(dialog, IDOK);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.GetResult(), IDOK);
    EXPECT_FALSE(dlg.m_bMediaChanged);
    const CAppSettings saved = Reloaded(tree.Root());
    EXPECT_EQ(saved.m_nSpeed, 300);
    EXPECT_EQ(saved.m_nGrowth, 15);
    EXPECT_EQ(saved.m_nMaxZoom, 25);
    EXPECT_EQ(saved.m_nRotation, -1);
    EXPECT_EQ(saved.m_nStartMode, 1);
    EXPECT_EQ(saved.m_nMouse, 1);
    EXPECT_EQ(saved.m_nMaxMedia, -1);
    EXPECT_EQ(saved.m_strTitle, "ずーむざっぷ");
}

TEST(SettingsDlgTest, ButtonsSwitchEachOtherAndSetTheChangedFlag) {
    TempTree tree;
    TestSettingsDlg dlg(tree.Root());
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND dialog = dlg.GetHwnd();
    HWND assign = GetDlgItem(dialog, IDC_ASSIGN_SOUNDS);
    HWND order = GetDlgItem(dialog, IDC_ORDER);

    Click(dialog, IDC_SOUND_ON);
    EXPECT_TRUE(IsWindowEnabled(assign));
    Click(dialog, IDC_SOUND_OFF);
    EXPECT_FALSE(IsWindowEnabled(assign));
    Click(dialog, IDC_SOUNDS_FOLDER);
    EXPECT_FALSE(dlg.m_bMediaChanged);
    ASSERT_EQ(dlg.folders.size(), 1u);
    EXPECT_EQ(dlg.folders[0], JoinPath(tree.Root(), "sounds"));
    EXPECT_EQ(dlg.messages.at(0),
              "鳴らしたい音声ファイル(*.wav)を\n" + dlg.folders[0] + " に置いて下さい。");

    // "順番" opens the order dialog at every click, also when it is checked already.
    int orderRuns = 0;
    {
        ModalDriver driver;
        for (int i = 0; i < 2; ++i) {
            driver.When("並べ替え", [&](HWND order) {
                ++orderRuns;
                PostMessageW(order, WM_COMMAND, IDCANCEL, 0);
            });
        }
        Click(dialog, IDC_DISPLAY_IN_ORDER);
        EXPECT_TRUE(IsWindowEnabled(order));
        Click(dialog, IDC_DISPLAY_IN_ORDER);
        EXPECT_TRUE(driver.Done());
        EXPECT_FALSE(driver.TimedOut());
    }
    EXPECT_EQ(orderRuns, 2);
    EXPECT_TRUE(dlg.m_bMediaChanged);
    Click(dialog, IDC_DISPLAY_RANDOM);
    EXPECT_FALSE(IsWindowEnabled(order));

    TestSettingsDlg images(tree.Root());
    ASSERT_TRUE(images.Create(nullptr));
    Click(images.GetHwnd(), IDC_IMAGES_FOLDER);
    EXPECT_TRUE(images.m_bMediaChanged);
    EXPECT_EQ(images.folders.at(0), JoinPath(tree.Root(), "images"));

    TestSettingsDlg maxMedia(tree.Root());
    ASSERT_TRUE(maxMedia.Create(nullptr));
    Click(maxMedia.GetHwnd(), IDC_MAX_MEDIA_100);
    EXPECT_TRUE(maxMedia.m_bMediaChanged);
}

TEST(SettingsDlgTest, AssignedSoundsStayWrittenWhenTheDialogIsCancelled) {
    TempTree tree;
    tree.File("images/a.png");
    tree.File("images/b.png");
    tree.File("sounds/x.wav");
    tree.File("sounds/y.wav");
    StoreInts(tree.Root(), {{keys::kSound, 1}, {keys::kSpeed, 200}});
    TestSettingsDlg dlg(tree.Root());
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND dialog = dlg.GetHwnd();
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_ASSIGN_SOUNDS)));
    SetDlgItemTextW(dialog, IDC_SPEED, L"700");
    {
        ModalDriver driver;
        driver.When("音声割り付け", [](HWND assign) {
            SelectListRow(GetDlgItem(assign, IDC_PICTURE_LIST), 1);
            SelectListRow(GetDlgItem(assign, IDC_SOUND_LIST), 1);
            Click(assign, IDC_ASSIGN);
            Click(assign, IDOK);
        });
        Click(dialog, IDC_ASSIGN_SOUNDS);
        EXPECT_TRUE(driver.Done());
        EXPECT_FALSE(driver.TimedOut());
    }
    EXPECT_TRUE(dlg.m_bMediaChanged);
    Click(dialog, IDCANCEL);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.GetResult(), IDCANCEL);

    const CAppSettings after = Reloaded(tree.Root());
    EXPECT_EQ(after.m_nSpeed, 200);
    EXPECT_EQ(after.ReadInt(keys::kSoundFileSection, "a.png", 99), -1);
    EXPECT_EQ(after.ReadInt(keys::kSoundFileSection, "b.png", 99), 1);
}

TEST(SettingsDlgTest, NewGroupBringsTheOrderDialogForTheInOrderDisplay) {
    TempTree tree;
    tree.File("images/animals/dog.png");
    tree.File("images/cars/bus.png");
    StoreInts(tree.Root(), {{keys::kDisplayOrder, 1}});
    TestSettingsDlg dlg(tree.Root());
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND dialog = dlg.GetHwnd();
    Names shown;
    {
        ModalDriver driver;
        driver.When("グループ選択", [](HWND select) {
            Click(select, IDC_GROUP_RADIO3);
            Click(select, IDOK);
        });
        driver.When("並べ替え", [&](HWND order) {
            HWND list = GetDlgItem(order, IDC_ORDER_LIST);
            for (int i = 0; i < ListRowCount(list); ++i) {
                shown.push_back(ListRowText(list, i));
            }
            Click(order, IDOK);
        });
        Click(dialog, IDC_GROUP_SELECT);
        EXPECT_TRUE(driver.Done());
        EXPECT_FALSE(driver.TimedOut());
    }
    EXPECT_EQ(shown, (Names{"cars\\bus.png"}));
    EXPECT_EQ(ItemText(dialog, IDC_GROUP), "cars");
    EXPECT_EQ(dlg.m_orderList, (Names{"cars\\bus.png"}));
    EXPECT_TRUE(dlg.m_bMediaChanged);

    Click(dialog, IDOK);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    const CAppSettings saved = Reloaded(tree.Root());
    EXPECT_EQ(saved.m_strGroup, "cars");
    EXPECT_EQ(saved.m_pictureOrder, (Names{"cars\\bus.png"}));
}

TEST(SettingsDlgTest, FailedSaveIsToldAndKeepsTheDialogOpen) {
    TempTree tree;
    const std::string missing = JoinPath(tree.Root(), "not here");
    TestSettingsDlg dlg(missing);
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND dialog = dlg.GetHwnd();
    SetDlgItemTextW(dialog, IDC_SPEED, L"500");
    Click(dialog, IDOK);
    dlg.PumpMessages();
    EXPECT_FALSE(dlg.IsEnded());
    ASSERT_EQ(dlg.messages.size(), 1u);
    EXPECT_NE(dlg.messages[0].find(JoinPath(missing, "Zoomzap.ini")), std::string::npos);
    EXPECT_EQ(ItemText(dialog, IDC_SPEED), "500");

    tree.Folder("not here");
    Click(dialog, IDOK);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_EQ(Reloaded(missing).m_nSpeed, 500);
}

}  // namespace
}  // namespace zz
