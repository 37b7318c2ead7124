// The main frame: the keys it consumes.

#include <gtest/gtest.h>

#include <windows.h>

#include "app/main_frame.h"

namespace zz {
namespace {

// Keys as the frame's pre-translation sees them, with the given modifiers held.
bool Consumed(CMainFrame& frame, HWND target, UINT message, WPARAM key,
              std::initializer_list<int> modifiers) {
    BYTE state[256] = {};
    for (int modifier : modifiers) {
        state[modifier] = 0x80;
    }
    SetKeyboardState(state);
    MSG msg{};
    msg.hwnd = target;
    msg.message = message;
    msg.wParam = key;
    msg.lParam = 1;
    const bool consumed = frame.PreTranslateMessage(msg);
    BYTE none[256] = {};
    SetKeyboardState(none);
    return consumed;
}

TEST(AppShellTest, FrameConsumesItsShortcutKeysButNotTheGuardKey) {
    CMainFrame frame;
    ASSERT_TRUE(frame.Create());
    HWND hwnd = frame.GetHwnd();
    EXPECT_TRUE(Consumed(frame, hwnd, WM_SYSKEYDOWN, VK_F4, {VK_MENU}));
    EXPECT_TRUE(Consumed(frame, hwnd, WM_KEYDOWN, 'C', {VK_CONTROL}));
    EXPECT_TRUE(Consumed(frame, hwnd, WM_KEYDOWN, VK_DELETE, {VK_SHIFT}));
    EXPECT_FALSE(Consumed(frame, hwnd, WM_KEYDOWN, VK_DELETE, {VK_SHIFT, VK_CONTROL}))
        << "Ctrl+Shift+Del must reach the view";
    EXPECT_FALSE(Consumed(frame, hwnd, WM_KEYDOWN, 'C', {}));
    EXPECT_FALSE(Consumed(frame, hwnd, WM_KEYDOWN, 'C', {VK_CONTROL, VK_SHIFT}));

    HWND stranger = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    nullptr, nullptr);
    EXPECT_FALSE(Consumed(frame, stranger, WM_KEYDOWN, 'C', {VK_CONTROL}))
        << "only keys for the frame and its view";
    DestroyWindow(stranger);
}

}  // namespace
}  // namespace zz
