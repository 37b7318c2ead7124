// The dialogs as a parent meets them: each run through its function and driven by clicks and
// keys inside its own modal loop, the texts it tells read from its message boxes.

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <utility>

#include "dialogs/win32/group_pick_dlg.h"
#include "dialogs/win32/list_box.h"
#include "dialogs/win32/settings_dlg.h"
#include "framework/data_exchange.h"
#include "framework/unicode.h"
#include "resources/dialog_ids.h"
#include "settings/app_settings.h"
#include "tests/support/temp_tree.h"

namespace zz {
namespace {

using test::Names;

Names ListRows(HWND dialog, int id) {
    Names rows;
    for (int i = 0; i < ListRowCount(GetDlgItem(dialog, id)); ++i) {
        rows.push_back(ListRowText(GetDlgItem(dialog, id), i));
    }
    return rows;
}

// A click as the user makes it: auto radio buttons check themselves, then the parent hears.
void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// Escape, as the dialog manager makes it, also for a dialog without a Cancel button.
void Cancel(HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

void Key(HWND window, WPARAM key, UINT message = WM_KEYDOWN) {
    PostMessageW(window, message, key, 1);
}

// Steps run from a thread timer inside whatever modal loop runs then, each once its dialog is up
// and the messages posted before are handled.
class ModalDriver {
public:
    ModalDriver() { s_current = this; }
    ~ModalDriver() {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }

    // caption: the dialog's, or the application's title for a message box.
    void When(std::string caption, std::function<void(HWND)> action) {
        m_steps.emplace_back(std::move(caption), std::move(action));
    }
    // Every step ran. One whose dialog never comes is given up after a while, and every dialog
    // of the thread cancelled, so that a failing test ends instead of hanging.
    bool Done() const { return m_steps.empty() && !m_timedOut; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        ModalDriver* self = s_current;
        if (self == nullptr || self->m_steps.empty()) {
            return;
        }
        if (std::chrono::steady_clock::now() > self->m_deadline) {
            self->m_timedOut = true;
            self->m_steps.clear();
            EnumThreadWindows(
                GetCurrentThreadId(), [](HWND w, LPARAM) { return Cancel(w), TRUE; }, 0);
            return;
        }
        HWND dialog = FindWindowW(L"#32770", Widen(self->m_steps.front().first).c_str());
        if (dialog != nullptr && IsWindowVisible(dialog) && IsWindowEnabled(dialog) &&
            GetWindowThreadProcessId(dialog, nullptr) == GetCurrentThreadId()) {
            // Taken off first: the action may start a nested loop in which the next step runs.
            const std::function<void(HWND)> action = std::move(self->m_steps.front().second);
            self->m_steps.pop_front();
            action(dialog);
        }
    }

    static inline ModalDriver* s_current = nullptr;
    UINT_PTR m_timer = SetTimer(nullptr, 0, 20, &ModalDriver::OnTimer);
    std::chrono::steady_clock::time_point m_deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::deque<std::pair<std::string, std::function<void(HWND)>>> m_steps;
    bool m_timedOut = false;
};

// A message box whose text holds part, closed with OK.
std::function<void(HWND)> Told(std::string part) {
    return [part](HWND box) {
        EXPECT_NE(GetItemText(box, 0xFFFF).find(part), std::string::npos) << part;
        Click(box, IDOK);
    };
}

// The sound rows once the picture list shows rows: picture row p gets sound row s by Enter.
std::function<void(HWND)> Assign(Names rows, int picture, int sound) {
    return [rows, picture, sound](HWND dialog) {
        HWND pictures = GetDlgItem(dialog, IDC_PICTURE_LIST);
        EXPECT_EQ(ListRows(dialog, IDC_PICTURE_LIST), rows);
        EXPECT_EQ(ListRows(dialog, IDC_SOUND_LIST), (Names{"ランダム", "x.wav", "y.wav"}));
        SelectListRow(pictures, picture);
        SelectListRow(GetDlgItem(dialog, IDC_SOUND_LIST), sound);
        SetFocus(pictures);
        Key(pictures, VK_RETURN);
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
    ModalDriver driver;
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
        EXPECT_EQ(ListRows(dialog, IDC_PICTURE_LIST)[0], "g\\a.png = y.wav");
        Click(dialog, IDOK);
    });
    driver.When("グループ選択", [](HWND dialog) {
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_GROUP_RADIO0), BST_CHECKED);
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_GROUP_RADIO5)));
        Click(dialog, IDC_GROUP_RADIO3);
        Click(dialog, IDOK);
    });
    driver.When("Zoomzap", Told("「〜」"));
    driver.When("グループ選択", Cancel);
    driver.When("並べ替え", [](HWND dialog) {
        EXPECT_EQ(ListRows(dialog, IDC_ORDER_LIST),
                  (Names{"g\\a.png", "g\\b.png", "k=v.png", "é.png", "〜.png"}));
        for (const auto& [key, message] : {std::pair{VK_CONTROL, WM_KEYDOWN},
                                           {VK_DOWN, WM_KEYDOWN},
                                           {VK_DOWN, WM_KEYUP},
                                           {VK_CONTROL, WM_KEYUP}}) {
            Key(GetDlgItem(dialog, IDC_ORDER_LIST), key, message);
        }
    });
    driver.When("並べ替え", [](HWND dialog) {
        EXPECT_EQ(ListRows(dialog, IDC_ORDER_LIST)[1], "g\\a.png");
        Click(dialog, IDOK);
    });
    driver.When("Zoomzap", Told("「〜.png」"));
    driver.When("並べ替え", Cancel);
    driver.When("並べ替え", Cancel);
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
    ModalDriver driver;
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

// A button without a group, and a digit with Alt held, are no choice; a keypad digit is.
TEST(DialogWindows, TheGroupPickerTakesDigitsOfEitherKeyboardForItsEnabledButtons) {
    test::TempTree tree;
    for (const char* group : {"images/animals", "images/Tom & Jerry"}) {
        tree.Folder(group);
    }
    ModalDriver driver;
    driver.When("グループを選択して下さい", [](HWND dialog) {
        EXPECT_EQ(GetItemText(dialog, IDC_PICK_BUTTON1), "Tom && Jerry");  // no mnemonic
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_PICK_BUTTON2)));
        for (const auto& [key, message] : {std::pair{WPARAM{'3'}, WM_KEYDOWN},
                                           {WPARAM{'1'}, WM_SYSKEYDOWN},
                                           {WPARAM{VK_NUMPAD2}, WM_KEYDOWN}}) {
            Key(GetDlgItem(dialog, IDC_PICK_BUTTON0), key, message);
        }
    });
    EXPECT_EQ(RunGroupPickDialog(nullptr, {tree.Root()}), "Tom & Jerry");
    EXPECT_TRUE(driver.Done());
}

}  // namespace
}  // namespace zz
