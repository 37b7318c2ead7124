#include "dialogs/win32/settings_dlg.h"

#include <gtest/gtest.h>

#include <tuple>

#include "resources/dialog_ids.h"
#include "settings/app_settings.h"
#include "settings/settings_keys.h"
#include "tests/unit/temp_tree.h"
#include "tests/win/dialog_test_support.h"

namespace zz {
namespace {

using test::Click;
using test::IsChecked;
using test::ModalDriver;
using test::Names;
using test::TempTree;

// Tells the parent nothing on screen: what would be shown is kept for the test.
class TestSettingsDlg : public CSettingsDlg {
public:
    using CSettingsDlg::CSettingsDlg;
    Names messages;

protected:
    void ShowMessage(const std::string& text, UINT) override { messages.push_back(text); }
    void OpenFolder(const std::string&) override {}
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

auto Fields(const CAppSettings& s) {
    return std::tuple(s.m_nGrowth, s.m_nSpeed, s.m_nMaxZoom, s.m_nRotation, s.m_nStartMode,
                      s.m_nMouse, s.m_nSound, s.m_nMaxMedia, s.m_nDisplayOrder, s.m_strGroup);
}

TEST(SettingsDlgTest, AnUntouchedOkKeepsEveryStoredValueAndChangesAreStored) {
    TempTree tree;
    StoreInts(tree.Root(), {{keys::kSpeed, 50},
                            {keys::kGrowth, 15},
                            {keys::kMaxZoom, 150},
                            {keys::kRotation, 5},
                            {keys::kMouse, -3},
                            {keys::kMaxMedia, 7}});
    const CAppSettings before = Reloaded(tree.Root());
    {
        TestSettingsDlg dlg(tree.Root());
        ASSERT_TRUE(dlg.Create(nullptr));
        HWND dialog = dlg.GetHwnd();
        // A stored value that is no entry of the list shows as it is, not as a longer entry.
        EXPECT_EQ(GetItemText(dialog, IDC_SPEED), "50");
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_SPEED, CB_GETCURSEL, 0, 0), CB_ERR);
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_MAX_ZOOM, CB_GETCURSEL, 0, 0), 5);
        EXPECT_FALSE(IsChecked(dialog, IDC_ROTATION_OFF) || IsChecked(dialog, IDC_ROTATION_ON));
        Click(dialog, IDOK);
        dlg.PumpMessages();
        ASSERT_TRUE(dlg.IsEnded());
        EXPECT_EQ(Fields(Reloaded(tree.Root())), Fields(before));
    }
    TestSettingsDlg dlg(tree.Root());
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND dialog = dlg.GetHwnd();
    SetDlgItemTextW(dialog, IDC_MAX_ZOOM, L"  25%");
    Click(dialog, IDC_MOUSE_ON);
    Click(dialog, IDOK);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_FALSE(dlg.m_bMediaChanged);
    const CAppSettings saved = Reloaded(tree.Root());
    EXPECT_EQ(std::tuple(saved.m_nSpeed, saved.m_nMaxZoom, saved.m_nRotation, saved.m_nMouse),
              std::tuple(50, 25, 5, 1));
}

// "順番" opens the order dialog at every click, also when it is checked already.
TEST(SettingsDlgTest, InOrderOpensTheOrderDialogAtEveryClick) {
    TempTree tree;
    TestSettingsDlg dlg(tree.Root());
    ASSERT_TRUE(dlg.Create(nullptr));
    int orderRuns = 0;
    {
        ModalDriver driver;
        for (int i = 0; i < 2; ++i) {
            driver.When("並べ替え", [&](HWND order) {
                ++orderRuns;
                PostMessageW(order, WM_COMMAND, IDCANCEL, 0);
            });
        }
        Click(dlg.GetHwnd(), IDC_DISPLAY_IN_ORDER);
        Click(dlg.GetHwnd(), IDC_DISPLAY_IN_ORDER);
        EXPECT_TRUE(driver.Done());
        EXPECT_FALSE(driver.TimedOut());
    }
    EXPECT_EQ(orderRuns, 2);
    EXPECT_TRUE(dlg.m_bMediaChanged);
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
            SelectListRow(GetDlgItem(assign, IDC_SOUND_LIST), 2);  // after ランダム and x.wav
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
    EXPECT_EQ(GetItemText(dialog, IDC_SPEED), "500");

    tree.Folder("not here");
    Click(dialog, IDOK);
    dlg.PumpMessages();
    ASSERT_TRUE(dlg.IsEnded());
    EXPECT_EQ(Reloaded(missing).m_nSpeed, 500);
}

}  // namespace
}  // namespace zz
