#pragma once
// Driving the dialogs in-process: control helpers, and a driver that acts on modal dialogs
// from inside their own message loops.

#include <windows.h>

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <utility>

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

inline bool IsChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

// A click as the user makes it: auto radio buttons check themselves, then the parent hears.
inline void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

inline void Key(HWND window, UINT message, WPARAM key) {
    PostMessageW(window, message, key, 1);
}

// The thread's visible, enabled dialog window with this caption: the one that takes input.
inline HWND FindActiveDialog(const std::string& caption) {
    struct Search {
        std::wstring caption;
        HWND found = nullptr;
    } search{Widen(caption)};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t className[16] = {};
            wchar_t text[256] = {};
            GetClassNameW(window, className, 16);
            GetWindowTextW(window, text, 256);
            if (s->caption == text && std::wstring(className) == L"#32770" &&
                IsWindowVisible(window) && IsWindowEnabled(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Steps run in order, each once its dialog is up, from a thread timer that fires inside
// whatever modal loop runs then. A step that never finds its dialog is given up after a
// while: every dialog of the thread is cancelled, so a failing test ends instead of hanging.
class ModalDriver {
public:
    ModalDriver() { s_current = this; }
    ~ModalDriver() {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }

    void When(std::string caption, std::function<void(HWND)> action) {
        m_steps.emplace_back(std::move(caption), std::move(action));
    }
    bool Done() const { return m_steps.empty(); }
    bool TimedOut() const { return m_timedOut; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (s_current != nullptr && !s_current->m_steps.empty()) {
            s_current->Step();
        }
    }

    void Step() {
        if (std::chrono::steady_clock::now() > m_deadline) {
            m_timedOut = true;
            m_steps.clear();
            EnumThreadWindows(
                GetCurrentThreadId(),
                [](HWND window, LPARAM) -> BOOL {
                    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
                    return TRUE;
                },
                0);
            return;
        }
        HWND dialog = FindActiveDialog(m_steps.front().first);
        if (dialog == nullptr) {
            return;
        }
        // Taken off first: the action may start a nested loop in which the next step runs.
        const std::function<void(HWND)> action = std::move(m_steps.front().second);
        m_steps.pop_front();
        action(dialog);
    }

    static inline ModalDriver* s_current = nullptr;
    UINT_PTR m_timer = SetTimer(nullptr, 0, 20, &ModalDriver::OnTimer);
    std::chrono::steady_clock::time_point m_deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::deque<std::pair<std::string, std::function<void(HWND)>>> m_steps;
    bool m_timedOut = false;
};

}  // namespace zz::test
