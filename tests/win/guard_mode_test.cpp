// Guard mode through the real frame: however often the start-up runs, one hook keeps the system
// keys and the cursor is hidden once and held on the frame; switched back, the menu returns and
// the cursor is free, the keys stay kept; every end gives cursor, clip, keys and saver flag back.

#include <gtest/gtest.h>

#include <windows.h>

#include <future>
#include <memory>
#include <thread>
#include <tuple>
#include <vector>

#include "app/main_frame.h"
#include "framework/handles.h"
#include "settings/app_settings.h"
#include "tests/support/temp_tree.h"

namespace zz {
namespace {

constexpr WORD kMarker = VK_F8;  // sent last: once it is seen, the key before it was decided
constexpr ULONG_PTR kTag = 0x2A7A;
bool g_passed = false;
// Not std::latch or std::binary_semaphore: the MinGW runtime's atomic waits can miss a wake-up.
const KernelHandle g_markerPassed(CreateEventW(nullptr, FALSE, FALSE, nullptr));

LRESULT CALLBACK Watch(int code, WPARAM message, LPARAM data) {
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    if (code != HC_ACTION || event->dwExtraInfo != kTag) {
        return CallNextHookEx(nullptr, code, message, data);
    }
    if (event->vkCode != kMarker) {
        g_passed = true;
    } else if ((event->flags & LLKHF_UP) != 0) {
        SetEvent(g_markerPassed.Get());
    }
    return 1;
}

// A hook installed before the guard's, so called after it: it sees what the guard let through and
// keeps the test's keys from every window. Its own thread leaves the test's as busy as a window
// thread loading pictures. Hooks are the desktop's: parallel runs take turns.
class KeyWatch {
public:
    KeyWatch() {
        WaitForSingleObject(m_turn.Get(), INFINITE);
        std::promise<DWORD> started;
        std::future<DWORD> threadId = started.get_future();
        m_thread = std::jthread([&started] {
            MSG msg;
            PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
            const Hook hook(SetWindowsHookExW(WH_KEYBOARD_LL, Watch, nullptr, 0));
            started.set_value(GetCurrentThreadId());
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            }
        });
        m_threadId = threadId.get();
    }
    ~KeyWatch() {
        PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
        m_thread.join();  // before the turn is given up
        ReleaseMutex(m_turn.Get());
    }

    // Presses and lets go the left Windows key, then the marker: whether the key got through.
    bool WindowsKeyPasses() {
        g_passed = false;
        std::vector<INPUT> inputs;
        for (const WORD vk : {WORD{VK_LWIN}, kMarker}) {
            for (const DWORD up : {0, KEYEVENTF_KEYUP}) {
                inputs.push_back({INPUT_KEYBOARD, {.ki = {vk, 0, up, 0, kTag}}});
            }
        }
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        EXPECT_EQ(WaitForSingleObject(g_markerPassed.Get(), 20000), WAIT_OBJECT_0) << "no marker";
        return g_passed;
    }

private:
    KernelHandle m_turn{CreateMutexW(nullptr, FALSE, L"ZoomzapKeyInjectionTests")};
    DWORD m_threadId = 0;
    std::jthread m_thread;
};

// Called directly, the hook procedure can be given the Alt flag, which Wine never sets; outside a
// hook chain, passing on yields CallNextHookEx's 0. Only HC_ACTION events are its to decide.
TEST(KidlockLibrary, HookProcedureDecidesOnCodeKeyAndAltFlag) {
    const Module library(LoadLibraryW(L"Kidlock.dll"));
    const auto proc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void (*)()>(GetProcAddress(library.Get(), "Kidlock")));
    ASSERT_NE(proc, nullptr) << "Kidlock.dll belongs beside the tests";
    const std::tuple<int, DWORD, DWORD, LRESULT> cases[] = {{HC_ACTION, 0x5C, LLKHF_UP, 1},
                                                            {HC_ACTION, 0x09, LLKHF_ALTDOWN, 1},
                                                            {HC_ACTION, 0x73, LLKHF_ALTDOWN, 0},
                                                            {HC_ACTION, 0x09, 0, 0},
                                                            {-1, 0x09, LLKHF_ALTDOWN, 0}};
    for (const auto& [code, vk, flags, swallowed] : cases) {
        KBDLLHOOKSTRUCT event{vk, 0, flags, 0, 0};
        EXPECT_EQ(proc(code, WM_KEYDOWN, reinterpret_cast<LPARAM>(&event)), swallowed) << vk;
    }
}

TEST(GuardModeTest, EveryStartKeepsItAndEveryWayOutGivesAllBack) {
    test::TempTree tree;
    CAppSettings store(tree.Root());
    Settings settings = store.Load();
    settings.startMode = StartMode::kGuarded;
    ASSERT_TRUE(store.Save(settings));
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const RECT desktop{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                       y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    // The calling thread's cursor display counter, left as it was.
    auto cursorCounter = [] {
        const int counter = ShowCursor(TRUE) - 1;
        ShowCursor(FALSE);
        return counter;
    };
    auto cursorHeldTo = [](const RECT& area) {
        RECT clip{};
        return GetClipCursor(&clip) && EqualRect(&clip, &area);
    };
    auto saverRunning = [] {
        BOOL running = FALSE;
        return SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0) && running;
    };
    const int counter = cursorCounter();
    KeyWatch watch;
    std::unique_ptr<CMainFrame> frame;
    HWND window = nullptr;
    HMENU menu = nullptr;
    auto start = [&] {
        frame = std::make_unique<CMainFrame>(tree.Root());
        ASSERT_TRUE(frame->Create());
        window = frame->GetHwnd();
        menu = GetMenu(window);
        frame->OnInitialUpdate();
    };
    auto topmost = [&] { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    auto guarded = [&] {
        RECT rect{};
        GetWindowRect(window, &rect);
        return frame->GuardMode().IsOn() && GetMenu(window) == nullptr && topmost() &&
               cursorHeldTo(rect) && cursorCounter() == counter - 1 && !watch.WindowsKeyPasses();
    };
    // Before each way out, the clip narrowed as beside a second monitor, and the screen saver
    // flag set as the guard sets it on older systems.
    auto disturb = [] {
        const RECT narrow{10, 10, 200, 200};
        ClipCursor(&narrow);
        SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, TRUE, nullptr, 0);
    };
    auto givenBack = [&] {
        return cursorHeldTo(desktop) && cursorCounter() == counter && !saverRunning() &&
               watch.WindowsKeyPasses();
    };
    ASSERT_NO_FATAL_FAILURE(start());
    // Started again, as a new document does: still guarded, one hook, the cursor hidden once.
    frame->OnInitialUpdate();
    ShowWindow(window, SW_SHOWMAXIMIZED);  // as the application shows it
    EXPECT_TRUE(guarded());

    frame->ToggleGuardMode();
    EXPECT_TRUE(GetMenu(window) == menu && !topmost() && IsZoomed(window) &&
                cursorHeldTo(desktop) && cursorCounter() == counter);
    EXPECT_FALSE(watch.WindowsKeyPasses()) << "kept for the whole run";
    frame->ToggleGuardMode();
    EXPECT_TRUE(guarded());

    // The session ends while guarded: the menu goes with the window.
    disturb();
    SendMessageW(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(IsWindow(window) || IsMenu(menu));
    EXPECT_TRUE(givenBack());

    // Ended without its window closing, as after printing from the command line.
    ASSERT_NO_FATAL_FAILURE(start());
    EXPECT_TRUE(guarded());
    disturb();
    frame.reset();
    EXPECT_TRUE(givenBack());
}

}  // namespace
}  // namespace zz
