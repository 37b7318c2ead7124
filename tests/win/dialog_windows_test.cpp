// The dialogs as a parent meets them: each run through its function and driven by clicks and
// keys inside its own modal loop, the texts it tells read from its message boxes.

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <utility>

#include "dialogs/win32/list_box.h"
#include "dialogs/win32/settings_dlg.h"
#include "framework/data_exchange.h"
#include "framework/unicode.h"
#include "resources/dialog_ids.h"
#include "settings/app_settings.h"
#include "tests/support/temp_tree.h"

namespace zz {
namespace {

// A click as the user makes it: auto radio buttons check themselves, then the parent hears.
void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// Escape, as the dialog manager makes it, also for a dialog without a Cancel button.
void Cancel(HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
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

// Picture row p gets sound row s by Enter, which keeps the dialog open.
std::function<void(HWND)> Assign(int picture, int sound) {
    return [picture, sound](HWND dialog) {
        HWND pictures = GetDlgItem(dialog, IDC_PICTURE_LIST);
        SelectListRow(pictures, picture);
        SelectListRow(GetDlgItem(dialog, IDC_SOUND_LIST), sound);
        SetFocus(pictures);
        PostMessageW(pictures, WM_KEYDOWN, VK_RETURN, 1);
    };
}

// Sounds assigned are stored at once, whichever way the settings dialog is left; a name that the
// settings file cannot hold is told in the sound dialog, which stores the rest.
TEST(DialogWindows, SoundsAssignedAreStoredAtOnceAndCancelStoresNothingElse) {
    test::TempTree tree;
    for (const char* name :
         {"images/g/a.png", "images/g/b.png", "images/k=v.png", "sounds/x.wav", "sounds/y.wav"}) {
        tree.File(name);
    }
    CAppSettings store(tree.Root());
    ASSERT_TRUE(store.WriteInts(kSettingsSection, {{"速さ", 50}, {"音声", 1}}));
    ASSERT_TRUE(store.WriteInt(kSoundMapSection, "g\\b.png", 0));
    const Settings before = store.Load();
    ModalDriver driver;
    driver.When("設定", [](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_SPEED, L"700");
        Click(dialog, IDC_ASSIGN_SOUNDS);
        Click(dialog, IDCANCEL);
    });
    driver.When("音声割り付け", Assign(2, 1));
    driver.When("Zoomzap", Told("「k=v.png」は、名前に「=」がある"));
    driver.When("音声割り付け", Assign(0, 2));
    driver.When("音声割り付け", [](HWND dialog) {
        EXPECT_EQ(ListRowText(GetDlgItem(dialog, IDC_PICTURE_LIST), 0), "g\\a.png = y.wav");
        Click(dialog, IDOK);
    });
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

}  // namespace
}  // namespace zz
