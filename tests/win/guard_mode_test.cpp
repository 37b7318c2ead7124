// Guard mode through the real frame: started guarded, however often the start-up runs, the frame
// covers the screen topmost without caption, system menu and menu, the cursor hidden once and
// held on it; switched back, every one of them returns, the same menu included; and every end of
// the program, guarded or not, gives the cursor, its clip and the keys back.

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>

#include "app/main_frame.h"
#include "framework/scope_exit.h"
#include "framework/unicode.h"
#include "settings/app_settings.h"

namespace zz {
namespace {

TEST(GuardModeTest, EveryStartKeepsItAndEveryWayOutGivesAllBack) {
    const auto folder = std::filesystem::temp_directory_path() /
                        (L"zz_guard_test_" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    const ScopeExit removeFolder([&] { std::filesystem::remove_all(folder); });
    CAppSettings settings(Narrow(folder.wstring()));
    settings.Load();
    settings.m_nStartMode = 1;
    ASSERT_TRUE(settings.Save());
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const RECT desktop{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                       y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const RECT narrow{10, 10, 200, 200};  // as the frame's clip is beside a second monitor
    // The calling thread's cursor display counter, left as it was, and the cursor's clip.
    auto cursorCounter = [] {
        const int counter = ShowCursor(TRUE) - 1;
        ShowCursor(FALSE);
        return counter;
    };
    auto cursorHeldTo = [](const RECT& area) {
        RECT clip{};
        return GetClipCursor(&clip) && EqualRect(&clip, &area);
    };
    const int counter = cursorCounter();
    std::unique_ptr<CMainFrame> frame;
    HWND window = nullptr;
    HMENU menu = nullptr;
    auto start = [&] {
        frame = std::make_unique<CMainFrame>(Narrow(folder.wstring()));
        ASSERT_TRUE(frame->Create());
        window = frame->GetHwnd();
        menu = GetMenu(window);
        frame->OnInitialUpdate();
    };
    auto styles = [&] { return GetWindowLongPtrW(window, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU); };
    auto topmost = [&] { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    auto guarded = [&] {
        RECT rect{};
        GetWindowRect(window, &rect);
        return frame->GuardMode().IsOn() && frame->GuardMode().HookCount() == 1 &&
               GetMenu(window) == nullptr && styles() == 0 && topmost() && rect.left == 0 &&
               rect.top == 0 && cursorHeldTo(rect) && cursorCounter() == counter - 1;
    };
    ASSERT_NO_FATAL_FAILURE(start());
    // Started again, as a new document does: still guarded, one hook, the cursor hidden once.
    frame->OnInitialUpdate();
    ShowWindow(window, SW_SHOWMAXIMIZED);  // as the application shows it
    EXPECT_TRUE(guarded());

    frame->ToggleGuardMode();
    EXPECT_FALSE(frame->GuardMode().IsOn());
    EXPECT_TRUE(GetMenu(window) == menu && styles() == (WS_CAPTION | WS_SYSMENU) && !topmost());
    EXPECT_TRUE(IsZoomed(window) && cursorHeldTo(desktop) && cursorCounter() == counter);
    frame->ToggleGuardMode();
    EXPECT_TRUE(guarded());

    // The session ends while guarded: the menu goes with the window, and the system has the
    // cursor, its clip and the keys again.
    ClipCursor(&narrow);
    SendMessageW(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(IsWindow(window) || IsMenu(menu));
    EXPECT_TRUE(cursorHeldTo(desktop) && cursorCounter() == counter);
    EXPECT_EQ(frame->GuardMode().HookCount(), 0);

    // Ended without its window closing, as after printing from the command line.
    ASSERT_NO_FATAL_FAILURE(start());
    EXPECT_TRUE(guarded());
    ClipCursor(&narrow);
    frame.reset();
    EXPECT_TRUE(cursorHeldTo(desktop) && cursorCounter() == counter);
}

}  // namespace
}  // namespace zz
