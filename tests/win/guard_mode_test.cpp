// Guard mode in-process: the frame loses and regains caption, system menu and menu and covers the
// screen topmost; a rerun of the start-up keeps it guarded; a picture that cannot be read is
// told only once the normal window shows; and the end of the session gives the cursor and its
// clip back.

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "framework/unicode.h"
#include "settings/app_settings.h"
#include "view/win32/zoomzap_view.h"

namespace zz {
namespace {

namespace stdfs = std::filesystem;

// The calling thread's cursor display counter, left as it was.
int CursorCounter() {
    const int counter = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    return counter;
}

RECT CursorClip() {
    RECT clip{};
    GetClipCursor(&clip);
    return clip;
}

RECT Desktop() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

struct ToldNames : IPlayViewOwner {
    std::vector<std::vector<std::string>> told;
    void OnUnreadablePictures(const std::vector<std::string>& names) override {
        told.push_back(names);
    }
};

// Runs this thread's messages until done() holds or ten seconds pass.
template <typename Done>
bool PumpUntil(Done done) {
    for (const DWORD deadline = GetTickCount() + 10000;; Sleep(5)) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
        if (done()) {
            return true;
        }
        if (GetTickCount() > deadline) {
            return false;
        }
    }
}

// A program folder that starts guarded, in the stored order, with a listed file that is no
// picture before the one picture.
stdfs::path GuardedProgramFolder() {
    const stdfs::path folder =
        stdfs::temp_directory_path() / (L"zz_guard_test_" + std::to_wstring(GetCurrentProcessId()));
    stdfs::create_directories(folder / "images");
    stdfs::copy_file(Widen(std::string(ZZ_TEST_DATA_DIR) + "/pictures/picture.png"),
                     folder / "images" / "a.png", stdfs::copy_options::overwrite_existing);
    stdfs::copy_file(Widen(std::string(ZZ_TEST_DATA_DIR) + "/pictures/not_a_picture.png"),
                     folder / "images" / "bad.png", stdfs::copy_options::overwrite_existing);
    CAppSettings store(Narrow(folder.wstring()));
    Settings settings = store.Load();
    settings.startMode = StartMode::kGuarded;
    settings.displayOrder = DisplayOrder::kStored;
    settings.pictureOrder = {"bad.png", "a.png"};
    EXPECT_TRUE(store.Save(settings));
    return folder;
}

TEST(GuardModeTest, StartedGuardedItStaysSoTellsBadFilesOnlyOutsideAndEndsClean) {
    const stdfs::path folder = GuardedProgramFolder();
    CMainFrame frame;
    ASSERT_TRUE(frame.Create());
    CZoomzapView view(Narrow(folder.wstring()));
    ASSERT_TRUE(view.Create(frame.GetHwnd()));
    frame.SetView(&view);
    ToldNames owner;
    view.SetOwner(&owner);
    HWND window = frame.GetHwnd();
    const int counter = CursorCounter();

    // Started twice, as a new document does: guarded both times, the cursor hidden once.
    for (int startUp = 0; startUp < 2; ++startUp) {
        view.OnInitialUpdate();
        EXPECT_TRUE(view.Surface().InGuardMode()) << startUp;
    }
    ShowWindow(window, SW_SHOWMAXIMIZED);  // as the application shows it
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU), 0);
    EXPECT_NE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(CursorCounter(), counter - 1);
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    const RECT clip = CursorClip();
    EXPECT_TRUE(EqualRect(&clip, &rect)) << "the cursor stays on the frame";

    // Slot 0 cannot be read, so the count reaches 1 only when the load is over. Nothing is told
    // while the child plays guarded.
    ASSERT_TRUE(PumpUntil([&] { return view.Surface().PictureCount() == 1; }));
    PumpUntil([] { return true; });
    EXPECT_TRUE(owner.told.empty());

    view.ToggleFullScreen();
    EXPECT_FALSE(view.Surface().InGuardMode());
    EXPECT_NE(GetMenu(window), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU),
              WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_EQ(CursorCounter(), counter);
    const RECT released = CursorClip(), desktop = Desktop();
    EXPECT_TRUE(EqualRect(&released, &desktop));
    ASSERT_TRUE(PumpUntil([&] { return !owner.told.empty(); }));
    EXPECT_EQ(owner.told, (std::vector<std::vector<std::string>>{{"bad.png"}}));

    // The session ends while guarded, with the menu gone: the window closes without touching a
    // destroyed menu, and the cursor and its clip are the system's again.
    view.ToggleFullScreen();
    EXPECT_EQ(GetMenu(window), nullptr);
    // One screen here: narrowed as the frame's clip is beside a second monitor.
    const RECT narrow{10, 10, 200, 200};
    ClipCursor(&narrow);
    SendMessageW(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(IsWindow(window));
    const RECT atEnd = CursorClip();
    EXPECT_TRUE(EqualRect(&atEnd, &desktop));
    EXPECT_EQ(CursorCounter(), counter);
    EXPECT_EQ(owner.told.size(), 1u) << "told once";

    // Ended without its window closing, as after printing from the command line.
    CMainFrame printing;
    ASSERT_TRUE(printing.Create());
    {
        CZoomzapView guarded(Narrow(folder.wstring()));
        ASSERT_TRUE(guarded.Create(printing.GetHwnd()));
        guarded.ToggleFullScreen();
        ClipCursor(&narrow);
    }
    const RECT afterPrinting = CursorClip();
    EXPECT_TRUE(EqualRect(&afterPrinting, &desktop));
    EXPECT_EQ(CursorCounter(), counter);
    std::error_code ignored;
    stdfs::remove_all(folder, ignored);
}

}  // namespace
}  // namespace zz
