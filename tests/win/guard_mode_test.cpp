// Guard mode switched in-process: the frame loses and regains caption, system menu and menu,
// covers the screen topmost, and the cursor display counter ends where it started.

#include <gtest/gtest.h>

#include <windows.h>

#include "app/main_frame.h"
#include "view/win32/zoomzap_view.h"

namespace zz {
namespace {

// The calling thread's cursor display counter, left as it was.
int CursorCounter() {
    const int counter = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    return counter;
}

TEST(GuardModeTest, SwitchingTwiceRestoresTheFrameAndTheCursorCounter) {
    CMainFrame frame;
    ASSERT_TRUE(frame.Create());
    CZoomzapView view;
    ASSERT_TRUE(view.Create(frame.GetHwnd()));
    frame.SetView(&view);
    ShowWindow(frame.GetHwnd(), SW_MAXIMIZE);
    HWND window = frame.GetHwnd();
    const int counter = CursorCounter();

    view.ToggleFullScreen();
    EXPECT_TRUE(view.Surface().IsFullScreen());
    EXPECT_EQ(GetMenu(window), nullptr);
    const LONG_PTR guarded = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_EQ(guarded & (WS_CAPTION | WS_SYSMENU), 0);
    EXPECT_NE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(CursorCounter(), counter - 1);
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);

    view.ToggleFullScreen();
    EXPECT_FALSE(view.Surface().IsFullScreen());
    EXPECT_NE(GetMenu(window), nullptr);
    const LONG_PTR normal = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_EQ(normal & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_EQ(CursorCounter(), counter);

    // Closing from guard mode, with the menu gone, must not touch a destroyed menu.
    view.ToggleFullScreen();
    EXPECT_EQ(GetMenu(window), nullptr);
    DestroyWindow(window);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(CursorCounter(), counter - 1) << "the view hid the cursor once";
    ShowCursor(TRUE);
}

}  // namespace
}  // namespace zz
