// The keyboard hook library and the guard that installs it. Injected keys are watched by a
// low-level hook of the test's own, installed before the guard's and so called after it: it sees
// what the guard let through, and keeps the test's keys from every window. Wine never sets
// LLKHF_ALTDOWN, so the Alt rules are checked by calling the hook procedure directly.

#include "app/keyboard_guard.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <latch>
#include <semaphore>
#include <thread>
#include <tuple>
#include <vector>

#include "framework/handles.h"

namespace {

using Keys = std::vector<WORD>;  // each pressed and let go, one after the other

constexpr WORD kMarker = VK_F8;  // sent last: once it is seen, every key before it was decided
constexpr ULONG_PTR kTag = 0x2A7A;
Keys g_passed;  // key-downs only: a release follows the same rules
std::binary_semaphore g_markerPassed{0};

LRESULT CALLBACK Watch(int code, WPARAM message, LPARAM data) {
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    if (code != HC_ACTION || event->dwExtraInfo != kTag) {
        return CallNextHookEx(nullptr, code, message, data);
    }
    const bool up = (event->flags & LLKHF_UP) != 0;
    if (event->vkCode == kMarker && up) {
        g_markerPassed.release();
    } else if (event->vkCode != kMarker && !up) {
        g_passed.push_back(static_cast<WORD>(event->vkCode));
    }
    return 1;
}

// The watch runs on a thread of its own; the test's thread, blocked while keys are delivered, is
// as busy as a window thread loading pictures. Hooks are the whole desktop's: runs of this
// program in parallel take turns, and an abandoned turn is ours.
class KeyWatch {
public:
    KeyWatch() {
        WaitForSingleObject(m_turn.Get(), INFINITE);
        m_thread = std::jthread([this] {
            MSG msg;
            PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
            const zz::Hook hook(SetWindowsHookExW(WH_KEYBOARD_LL, Watch, nullptr, 0));
            m_threadId = GetCurrentThreadId();
            m_ready.count_down();
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            }
        });
        m_ready.wait();
    }
    ~KeyWatch() {
        PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
        m_thread.join();
        ReleaseMutex(m_turn.Get());
    }

    // Presses and lets go each key, then the marker: the keys that got through.
    Keys Deliver(Keys keys) {
        g_passed.clear();
        keys.push_back(kMarker);
        std::vector<INPUT> inputs;
        for (const WORD vk : keys) {
            for (const DWORD up : {0, KEYEVENTF_KEYUP}) {
                INPUT& input = inputs.emplace_back();
                input.type = INPUT_KEYBOARD;
                input.ki = {vk, 0, up, 0, kTag};
            }
        }
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        EXPECT_TRUE(g_markerPassed.try_acquire_for(std::chrono::seconds(20))) << "no marker";
        return g_passed;
    }

private:
    zz::KernelHandle m_turn{CreateMutexW(nullptr, FALSE, L"ZoomzapKeyInjectionTests")};
    std::latch m_ready{1};
    DWORD m_threadId = 0;
    std::jthread m_thread;
};

// Called directly, outside any hook chain, the procedure can be given the Alt flag; passing on
// then yields CallNextHookEx's 0. Only HC_ACTION events are the procedure's to decide.
TEST(KidlockLibrary, HookProcedureDecidesOnCodeKeyAndAltFlag) {
    const zz::Module library(LoadLibraryW(L"Kidlock.dll"));
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

// The start-up runs again for every new document: the first hook stays the only one, and it
// decides while the thread that set it up reads no messages.
TEST(KeyboardGuardTest, OneHookSwallowsSystemKeysUntilReleased) {
    KeyWatch watch;
    // A guard whose library or export is missing installs nothing: the Windows key gets through.
    for (const wchar_t* library : {L"NoSuchKidlock.dll", L"kernel32.dll"}) {
        zz::CKeyboardGuard guard(library);
        guard.SetUp();
        EXPECT_EQ(guard.HookCount(), 0);
        EXPECT_EQ(watch.Deliver({VK_LWIN}), Keys{VK_LWIN});
    }
    zz::CKeyboardGuard guard;
    for (int startUp = 0; startUp < 3; ++startUp) {
        guard.SetUp();
    }
    EXPECT_EQ(guard.HookCount(), 1);
    EXPECT_EQ(watch.Deliver({VK_LWIN, VK_RWIN, 'A', VK_TAB, VK_ESCAPE, VK_SPACE, VK_DELETE}),
              (Keys{'A', VK_TAB, VK_ESCAPE, VK_SPACE, VK_DELETE}));
    // As at every end of the program: the keys belong to the system again.
    guard.Release();
    EXPECT_EQ(guard.HookCount(), 0);
    EXPECT_EQ(watch.Deliver({VK_LWIN}), Keys{VK_LWIN});
}

}  // namespace
