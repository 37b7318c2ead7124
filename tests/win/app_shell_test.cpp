// The application shell's resources and main frame: exact texts, menu and shortcut table,
// about box, version information, the frame's window and the keys it consumes.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "app/about_dlg.h"
#include "app/main_frame.h"
#include "framework/data_exchange.h"
#include "framework/module.h"
#include "framework/unicode.h"
#include "resources/resource.h"
#include "settings/app_settings.h"
#include "view/win32/zoomzap_view.h"

namespace zz {
namespace {

std::wstring MenuText(HMENU menu, int position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    return text;
}

std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

TEST(AppShellTest, StringsAreExact) {
    EXPECT_EQ(LoadResourceString(IDR_MAINFRAME),
              L"Zoomzap\n\nZoomz\n\n\nZoomzap.Document\nZoomz Document");
    EXPECT_EQ(LoadResourceString(IDS_APP_TITLE), L"Zoomzap");
    EXPECT_EQ(LoadResourceString(IDP_OLE_INIT_FAILED),
              L"OLE の初期化に失敗しました。 OLE ﾗｲﾌﾞﾗﾘのﾊﾞｰｼﾞｮﾝが正しいことを確認してください。");
    EXPECT_EQ(LoadResourceString(IDP_SOCKETS_INIT_FAILED), L"Windows ｿｹｯﾄの初期化に失敗しました。");
}

TEST(AppShellTest, MenuHasTheThreeEntries) {
    HMENU menu = LoadMenuW(ModuleInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 3);

    EXPECT_EQ(MenuText(menu, 0), L"設定(&S)");
    EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(ID_SETTINGS));

    EXPECT_EQ(MenuText(menu, 1), L"表示(&V)");
    HMENU view = GetSubMenu(menu, 1);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(GetMenuItemCount(view), 1);
    EXPECT_EQ(MenuText(view, 0), L"全画面表示（いたずら防止）(&F)\tCtrl+Shift+Del");
    EXPECT_EQ(GetMenuItemID(view, 0), static_cast<UINT>(ID_VIEW_FULLSCREEN));

    EXPECT_EQ(MenuText(menu, 2), L"ﾍﾙﾌﾟ(&H)");
    HMENU help = GetSubMenu(menu, 2);
    ASSERT_NE(help, nullptr);
    ASSERT_EQ(GetMenuItemCount(help), 1);
    EXPECT_EQ(MenuText(help, 0), L"ずーむざっぷのﾊﾞｰｼﾞｮﾝ情報(&A)...");
    EXPECT_EQ(GetMenuItemID(help, 0), static_cast<UINT>(ID_APP_ABOUT));
    DestroyMenu(menu);
}

TEST(AppShellTest, ShortcutTableHasEveryEntryWithExactModifiers) {
    HACCEL table = LoadAcceleratorsW(ModuleInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    std::array<ACCEL, 32> entries{};
    const int count = CopyAcceleratorTableW(table, entries.data(), 32);
    using Entry = std::tuple<WORD, BYTE, WORD>;  // key, modifiers, command
    std::vector<Entry> actual;
    for (int i = 0; i < count; ++i) {
        EXPECT_TRUE(entries[i].fVirt & FVIRTKEY);
        actual.emplace_back(entries[i].key, entries[i].fVirt & (FSHIFT | FCONTROL | FALT),
                            entries[i].cmd);
    }
    const std::vector<Entry> expected = {
        {'N', FCONTROL, ID_FILE_NEW},
        {'O', FCONTROL, ID_FILE_OPEN},
        {'S', FCONTROL, ID_FILE_SAVE},
        {'P', FCONTROL, ID_FILE_PRINT},
        {'Z', FCONTROL, ID_EDIT_UNDO},
        {'X', FCONTROL, ID_EDIT_CUT},
        {'C', FCONTROL, ID_EDIT_COPY},
        {'V', FCONTROL, ID_EDIT_PASTE},
        {VK_BACK, FALT, ID_EDIT_UNDO},
        {VK_DELETE, FSHIFT, ID_EDIT_CUT},
        {VK_INSERT, FCONTROL, ID_EDIT_COPY},
        {VK_INSERT, FSHIFT, ID_EDIT_PASTE},
        {VK_F6, 0, ID_NEXT_PANE},
        {VK_F6, FSHIFT, ID_PREV_PANE},
    };
    EXPECT_EQ(actual, expected);
}

TEST(AppShellTest, AboutBoxShowsNameVersionAndDefaultOk) {
    CAboutDlg about;
    ASSERT_TRUE(about.Create(nullptr));
    HWND dialog = about.GetHwnd();
    EXPECT_EQ(WindowText(dialog), L"ずーむざっぷのﾊﾞｰｼﾞｮﾝ情報");

    std::vector<std::wstring> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        texts.push_back(WindowText(child));
    }
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"ずーむざっぷ Version 1.5.0.2"), texts.end());
    EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), IDOK);

    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    EXPECT_STREQ(font.lfFaceName, L"ＭＳ Ｐゴシック");

    // 235 by 55 dialog units, OK at the top right.
    RECT units{0, 0, 235, 55};
    MapDialogRect(dialog, &units);
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
    RECT ok{};
    GetWindowRect(GetDlgItem(dialog, IDOK), &ok);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&ok), 2);
    EXPECT_GT(ok.left, client.right / 2);
    EXPECT_LT(ok.top, client.bottom / 2);

    PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 1);
    about.PumpMessages();
    EXPECT_EQ(about.GetResult(), IDOK);
}

template <typename F>
F Function(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

TEST(AppShellTest, ProgramCarriesJapaneseVersionInformation) {
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring program(own);
    program = program.substr(0, program.find_last_of(L'\\') + 1) + L"Zoomzap.exe";

    // Loaded at run time so that the tests need no import library for it.
    HMODULE version = LoadLibraryW(L"version.dll");
    ASSERT_NE(version, nullptr);
    auto sizeOf = Function<DWORD(WINAPI*)(LPCWSTR, LPDWORD)>(version, "GetFileVersionInfoSizeW");
    auto read =
        Function<BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID)>(version, "GetFileVersionInfoW");
    auto query =
        Function<BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT)>(version, "VerQueryValueW");
    ASSERT_TRUE(sizeOf && read && query);

    const DWORD size = sizeOf(program.c_str(), nullptr);
    ASSERT_GT(size, 0u) << "Zoomzap.exe is built beside the tests";
    std::vector<char> block(size);
    ASSERT_TRUE(read(program.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(query(block.data(), L"\\", reinterpret_cast<LPVOID*>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(5, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(2, 0));

    WORD* translation = nullptr;
    ASSERT_TRUE(query(block.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<LPVOID*>(&translation), &length));
    EXPECT_EQ(translation[0], 0x0411);
    EXPECT_EQ(translation[1], 1200);

    wchar_t* product = nullptr;
    ASSERT_TRUE(query(block.data(), L"\\StringFileInfo\\041104b0\\ProductName",
                      reinterpret_cast<LPVOID*>(&product), &length));
    EXPECT_STREQ(product, L"ずーむざっぷ");
    FreeLibrary(version);
}

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

TEST(AppShellTest, FrameCoversTheScreenAndConsumesItsKeys) {
    CMainFrame frame;
    ASSERT_TRUE(frame.Create());
    HWND hwnd = frame.GetHwnd();
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(WindowText(hwnd), L"Zoomzap");
    EXPECT_EQ(GetMenuItemCount(GetMenu(hwnd)), 3);

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

TEST(AppShellTest, ViewFillsTheFrameTakesFocusAndSetsTheCaption) {
    CMainFrame frame;
    ASSERT_TRUE(frame.Create());
    CZoomzapView view;
    ASSERT_TRUE(view.Create(frame.GetHwnd()));
    frame.SetView(&view);
    view.OnInitialUpdate();
    CAppSettings settings;
    settings.Load();
    EXPECT_EQ(Narrow(WindowText(frame.GetHwnd())), settings.m_strTitle);

    SetWindowPos(frame.GetHwnd(), nullptr, 0, 0, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT frameClient{};
    RECT viewRect{};
    GetClientRect(frame.GetHwnd(), &frameClient);
    GetWindowRect(view.GetHwnd(), &viewRect);
    MapWindowPoints(nullptr, frame.GetHwnd(), reinterpret_cast<POINT*>(&viewRect), 2);
    EXPECT_EQ(viewRect.left, 0);
    EXPECT_EQ(viewRect.top, 0);
    EXPECT_EQ(viewRect.right, frameClient.right);
    EXPECT_EQ(viewRect.bottom, frameClient.bottom);

    SetFocus(frame.GetHwnd());
    EXPECT_EQ(GetFocus(), view.GetHwnd());
}

TEST(AppShellTest, DestroyingTheFrameNeverReattachesADestroyedMenu) {
    // A detached default menu goes back on, so that the window destroys it.
    CFrameWnd plain;
    ASSERT_TRUE(plain.LoadFrame(IDR_MAINFRAME, WS_POPUP | WS_CAPTION, RECT{0, 0, 300, 200}));
    HMENU detached = GetMenu(plain.GetHwnd());
    SetMenu(plain.GetHwnd(), nullptr);
    DestroyWindow(plain.GetHwnd());
    EXPECT_FALSE(IsMenu(detached));

    // As the guard mode leaves it: the first menu destroyed, a fresh copy on the window.
    CMainFrame frame;
    ASSERT_TRUE(frame.Create());
    HMENU first = GetMenu(frame.GetHwnd());
    SetMenu(frame.GetHwnd(), nullptr);
    DestroyMenu(first);
    HMENU fresh = LoadMenuW(ModuleInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    SetMenu(frame.GetHwnd(), fresh);
    DestroyWindow(frame.GetHwnd());
    EXPECT_EQ(frame.GetHwnd(), nullptr);
    EXPECT_FALSE(IsMenu(fresh)) << "the menu on the window goes with it";
}

}  // namespace
}  // namespace zz
