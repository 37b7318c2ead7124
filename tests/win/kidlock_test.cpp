// The keyboard hook library and the guard that installs it, with keys injected through SendInput.
// Wine runs low-level hooks for injected keys but never sets LLKHF_ALTDOWN on them, so the Alt
// combinations are checked by calling the hook procedure directly and by the key filter's tests.

#include "view/win32/keyboard_guard.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <ostream>
#include <thread>
#include <utility>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr WORD kMarker = VK_F8;  // sent last: once it arrives, everything before it was decided

struct KeyEvent {
    WORD vk;
    bool up;
    bool operator==(const KeyEvent&) const = default;
};

void PrintTo(const KeyEvent& e, std::ostream* os) {
    *os << "0x" << std::hex << e.vk << std::dec << (e.up ? " up" : " down");
}

std::vector<KeyEvent> Press(WORD vk) {
    return {{vk, false}, {vk, true}};
}

std::vector<KeyEvent> Chord(std::vector<WORD> held, WORD vk) {
    std::vector<KeyEvent> events;
    for (WORD h : held) {
        events.push_back({h, false});
    }
    events.insert(events.end(), {{vk, false}, {vk, true}});
    for (auto it = held.rbegin(); it != held.rend(); ++it) {
        events.push_back({*it, true});
    }
    return events;
}

std::vector<KeyEvent> Join(std::initializer_list<std::vector<KeyEvent>> parts) {
    std::vector<KeyEvent> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// Marks the keys of one run, so that neither a test run in parallel nor a late key of an earlier
// run can be taken for one of them.
ULONG_PTR NewRunTag() {
    static ULONG_PTR runs = 0;
    return (static_cast<ULONG_PTR>(GetCurrentProcessId()) << 32) | ++runs;
}

void Inject(const std::vector<KeyEvent>& events, ULONG_PTR tag) {
    std::vector<INPUT> inputs;
    for (const KeyEvent& e : events) {
        INPUT& input = inputs.emplace_back();
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = e.vk;
        input.ki.dwFlags = e.up ? KEYEVENTF_KEYUP : 0;
        input.ki.dwExtraInfo = tag;
    }
    ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)),
              inputs.size());
}

// Pumps this thread's messages until the condition holds or the time is up.
template <typename Condition>
bool PumpUntil(Condition done, std::chrono::milliseconds timeout = 20s) {
    const auto deadline = Clock::now() + timeout;
    while (!done()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left <= 0ms) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
    }
    return true;
}

// A focused window that records the key messages it gets; it handles them all itself, so that
// Alt+F4 closes nothing and Alt opens no menu.
class KeyWindow {
public:
    KeyWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        RegisterClassW(&wc);
        s_self = this;  // the only one
        m_hwnd = CreateWindowExW(0, kClass, L"キー", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                 nullptr, wc.hInstance, nullptr);
    }
    // Injects the events and a marker, and returns what reached the window before the marker.
    std::vector<KeyEvent> Deliver(const std::vector<KeyEvent>& events) {
        return Undisturbed([&](ULONG_PTR tag) { Inject(Join({events, Press(kMarker)}), tag); });
    }

    // Runs send(tag), which injects keys with that tag and the marker last, and returns what
    // reached the window before the marker. A window of a test run in parallel may take the
    // focus for a moment: such a run proves nothing and is repeated.
    template <typename Send>
    std::vector<KeyEvent> Undisturbed(Send send) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (!TakeFocus()) {
                continue;
            }
            m_received.clear();
            m_runTag = NewRunTag();
            m_bFocusLost = false;
            send(m_runTag);
            const bool arrived = PumpUntil([this] { return MarkerArrived() || m_bFocusLost; });
            if (arrived && !m_bFocusLost) {
                m_received.resize(m_received.size() - 2);
                return m_received;
            }
        }
        ADD_FAILURE() << "no run kept the focus to its marker; last got "
                      << testing::PrintToString(m_received);
        return m_received;
    }

private:
    bool TakeFocus() {
        SetForegroundWindow(m_hwnd);
        SetFocus(m_hwnd);
        return PumpUntil(
            [this] { return GetForegroundWindow() == m_hwnd && GetFocus() == m_hwnd; });
    }

    bool MarkerArrived() const {
        return !m_received.empty() && m_received.back() == KeyEvent{kMarker, true};
    }

    static constexpr const wchar_t* kClass = L"ZoomzapKeyTestWindow";

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_KILLFOCUS) {
            s_self->m_bFocusLost = true;
        }
        const bool up = msg == WM_KEYUP || msg == WM_SYSKEYUP;
        if (!up && msg != WM_KEYDOWN && msg != WM_SYSKEYDOWN) {
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        }
        if (static_cast<ULONG_PTR>(GetMessageExtraInfo()) == s_self->m_runTag) {
            s_self->m_received.push_back({static_cast<WORD>(wParam), up});
        }
        return 0;
    }

    static inline KeyWindow* s_self = nullptr;
    HWND m_hwnd = nullptr;
    ULONG_PTR m_runTag = 0;
    bool m_bFocusLost = false;
    std::vector<KeyEvent> m_received;
};

// Key injection reaches the one foreground window of the desktop: runs of this test program in
// parallel (one per locale) take turns. The one window is left to process exit: Wine without a
// window manager waits two seconds whenever an active window is hidden or destroyed.
class KeyboardGuardTest : public testing::Test {
protected:
    ~KeyboardGuardTest() override {
        ReleaseMutex(m_mutex);
        CloseHandle(m_mutex);
    }

    // Taken before the window is first made: making it takes the focus.
    HANDLE m_mutex = [] {
        HANDLE mutex = CreateMutexW(nullptr, FALSE, L"ZoomzapKeyInjectionTests");
        WaitForSingleObject(mutex, INFINITE);  // abandoned by a crashed run: ours now
        return mutex;
    }();
    KeyWindow& m_window = []() -> KeyWindow& {
        static auto* window = new KeyWindow;
        return *window;
    }();
};

// Called directly, outside any hook chain, the procedure can be given the Alt flag that Wine
// never sets; passing on then yields CallNextHookEx's 0.
TEST(KidlockLibrary, HookProcedureDecidesOnCodeKeyAndAltFlag) {
    HMODULE library = LoadLibraryW(L"Kidlock.dll");
    ASSERT_NE(library, nullptr) << "Kidlock.dll belongs beside the tests";
    const FARPROC exported = GetProcAddress(library, "Kidlock");
    ASSERT_NE(exported, nullptr);
    // Found by ordinal as well, and undecorated.
    EXPECT_EQ(GetProcAddress(library, MAKEINTRESOURCEA(1)), exported);
    EXPECT_EQ(GetProcAddress(library, MAKEINTRESOURCEA(2)), GetProcAddress(library, "SetHHook"));
    EXPECT_EQ(GetProcAddress(library, "Kidlock@12"), nullptr);
    const auto proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(exported));
    ASSERT_EQ(GetAsyncKeyState(VK_CONTROL) & 0x8000, 0) << "Ctrl is held by someone";

    auto decide = [proc](int code, WPARAM kind, DWORD vk, DWORD flags) {
        KBDLLHOOKSTRUCT event{};
        event.vkCode = vk;
        event.flags = flags;
        return proc(code, kind, reinterpret_cast<LPARAM>(&event));
    };
    EXPECT_EQ(decide(HC_ACTION, WM_KEYDOWN, VK_LWIN, 0), 1);
    EXPECT_EQ(decide(HC_ACTION, WM_KEYUP, VK_RWIN, LLKHF_UP), 1);
    EXPECT_EQ(decide(HC_ACTION, WM_SYSKEYDOWN, VK_TAB, LLKHF_ALTDOWN), 1);
    EXPECT_EQ(decide(HC_ACTION, WM_SYSKEYUP, VK_ESCAPE, LLKHF_ALTDOWN | LLKHF_UP), 1);
    EXPECT_EQ(decide(HC_ACTION, WM_SYSKEYDOWN, VK_SPACE, LLKHF_ALTDOWN), 1);

    EXPECT_EQ(decide(HC_ACTION, WM_SYSKEYDOWN, VK_F4, LLKHF_ALTDOWN), 0);
    EXPECT_EQ(decide(HC_ACTION, WM_KEYDOWN, VK_TAB, 0), 0);
    EXPECT_EQ(decide(HC_ACTION, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    // Only HC_ACTION events are the procedure's to decide.
    EXPECT_EQ(decide(HC_ACTION + 1, WM_KEYDOWN, VK_LWIN, 0), 0);
    EXPECT_EQ(decide(-1, WM_SYSKEYDOWN, VK_TAB, LLKHF_ALTDOWN), 0);
    FreeLibrary(library);
}

TEST_F(KeyboardGuardTest, OneHookSwallowsSystemKeysUntilReleased) {
    // A guard whose library or export is missing installs nothing: the Windows key gets through.
    zz::CKeyboardGuard missing(L"NoSuchKidlock.dll");
    missing.SetUp();
    EXPECT_EQ(missing.HookCount(), 0);
    zz::CKeyboardGuard withoutExports(L"kernel32.dll");
    withoutExports.SetUp();
    EXPECT_EQ(withoutExports.HookCount(), 0);
    EXPECT_EQ(m_window.Deliver(Press(VK_LWIN)), Press(VK_LWIN));

    // The start-up runs again for every new document: the first hook stays the only one.
    zz::CKeyboardGuard guard;
    for (int startUp = 0; startUp < 3; ++startUp) {
        guard.SetUp();
    }
    ASSERT_EQ(guard.HookCount(), 1);

    const auto swallowed = m_window.Deliver(Join(
        {Press(VK_LWIN), Press(VK_RWIN), Chord({VK_LWIN}, 'D'), Chord({VK_CONTROL}, VK_ESCAPE)}));
    EXPECT_EQ(swallowed, Join({Press('D'), Press(VK_CONTROL)}));

    const auto harmless = Join({Press('A'), Press(VK_TAB), Press(VK_ESCAPE), Press(VK_SPACE),
                                Chord({VK_SHIFT}, VK_ESCAPE), Chord({VK_CONTROL}, VK_TAB),
                                Chord({VK_CONTROL, VK_SHIFT}, VK_DELETE), Chord({VK_MENU}, VK_F4)});
    const auto passed = m_window.Deliver(harmless);
    EXPECT_EQ(passed, harmless);

    // As at every end of the program: the keys belong to the system again.
    guard.Release();
    EXPECT_EQ(guard.HookCount(), 0);
    EXPECT_EQ(m_window.Deliver(Press(VK_LWIN)), Press(VK_LWIN));
}

TEST_F(KeyboardGuardTest, GuardsWhileTheWindowThreadIsBusy) {
    zz::CKeyboardGuard guard;
    guard.SetUp();
    ASSERT_EQ(guard.HookCount(), 1);

    // A held key's state changes once every hook has decided on it. A hook run by a busy window
    // thread would hold it until that thread reads messages again (and Windows would drop it).
    constexpr WORD kHeld = VK_F9;
    bool decidedWhileBusy = false;
    const auto received = m_window.Undisturbed([&](ULONG_PTR tag) {
        std::atomic<bool> decided{false};
        Clock::time_point decidedAt;
        std::thread injector([&] {
            Inject(Join({Press(VK_LWIN), {{kHeld, false}}}), tag);
            const auto deadline = Clock::now() + 20s;
            while (Clock::now() < deadline && !decided) {
                if (GetAsyncKeyState(kHeld) & 0x8000) {
                    decidedAt = Clock::now();
                    decided = true;
                }
                std::this_thread::sleep_for(5ms);
            }
            Inject({{kHeld, true}, {kMarker, false}, {kMarker, true}}, tag);
        });
        std::this_thread::sleep_for(3s);  // busy: no messages read
        const auto awake = Clock::now();
        injector.join();
        decidedWhileBusy = decided && decidedAt < awake;
    });
    EXPECT_TRUE(decidedWhileBusy) << "the hook waited for the busy thread";
    EXPECT_EQ(received, Press(kHeld));
}

}  // namespace
