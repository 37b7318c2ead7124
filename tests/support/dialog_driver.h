#pragma once
// Driving the program's modal dialogs in-process: steps run from a thread timer inside whatever
// modal loop runs then, each once its dialog is up and the messages posted before are handled.

#include <windows.h>

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/win32/list_box.h"
#include "framework/data_exchange.h"
#include "framework/unicode.h"

namespace zz::test {

inline std::vector<std::string> ListRows(HWND list) {
    std::vector<std::string> rows;
    for (int i = 0; i < ListRowCount(list); ++i) {
        rows.push_back(ListRowText(list, i));
    }
    return rows;
}

// A click as the user makes it: auto radio buttons check themselves, then the parent hears.
inline void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// Escape, as the dialog manager makes it, also for a dialog without a Cancel button.
inline void Cancel(HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

inline void Key(HWND window, WPARAM key, UINT message = WM_KEYDOWN) {
    PostMessageW(window, message, key, 1);
}

inline std::string MessageText(HWND box) {
    return GetItemText(box, 0xFFFF);
}

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

}  // namespace zz::test
