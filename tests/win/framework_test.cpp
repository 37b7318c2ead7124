// The window and dialog layer: handle owners, paired-call guards, message dispatch, the modal
// loop of the dialog base and the data-exchange helpers. The dialog tests run on the about
// box's template, which the program's resources put into this test program too.

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/gdi_guards.h"
#include "framework/handles.h"
#include "framework/unicode.h"
#include "framework/window.h"
#include "resources/resource.h"

namespace zz {
namespace {

TEST(FrameworkTest, Utf16ConversionRoundTripsAndReplacesBrokenBytes) {
    const std::string japanese = "画像\\どうぶつ\\ねこ.png";
    EXPECT_EQ(Widen(japanese), L"画像\\どうぶつ\\ねこ.png");
    EXPECT_EQ(Narrow(Widen(japanese)), japanese);
    EXPECT_EQ(Widen(""), L"");
    EXPECT_EQ(Narrow(L""), "");
    EXPECT_EQ(Widen("a\xff"
                    "b"),
              L"a\xfffd"
              L"b");
}

TEST(FrameworkTest, HandleOwnersReleaseOnceAndMoveOwnership) {
    HBRUSH raw = CreateSolidBrush(RGB(1, 2, 3));
    {
        Brush first(raw);
        Brush second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), raw);
        Brush third;
        third = std::move(second);
        EXPECT_NE(GetObjectType(raw), 0u) << "moving must not delete";
    }
    EXPECT_EQ(GetObjectType(raw), 0u) << "the last owner deletes the brush";

    HMENU menu = CreateMenu();
    Menu owner(menu);
    EXPECT_EQ(owner.Release(), menu);
    owner.Reset();
    EXPECT_TRUE(IsMenu(menu)) << "a released menu belongs to someone else";
    DestroyMenu(menu);

    KernelHandle none(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(none);
}

TEST(FrameworkTest, SelectGuardPutsThePreviousObjectBack) {
    MemoryDC dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_FONT);
    Font font(CreateFontW(20, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                          nullptr));
    {
        SelectGuard select(dc.Get(), font.Get());
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), font.Get());
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), original);
}

class RecordingWindow : public CWindow {
public:
    bool Create(int createResult) {
        m_createResult = createResult;
        static const WindowClass recordingClass{L"ZzTestRecordingWindow"};
        return CreateEx(recordingClass, 0, L"test", WS_OVERLAPPEDWINDOW, RECT{0, 0, 200, 100},
                        nullptr, nullptr);
    }

    std::vector<std::string> calls;

protected:
    int OnCreate(const CREATESTRUCTW&) override { return m_createResult; }
    void OnDestroy() override { calls.push_back("destroy"); }
    void OnKeyDown(UINT key, UINT repeatCount, UINT flags) override {
        calls.push_back("key " + std::to_string(key) + " " + std::to_string(repeatCount) + " " +
                        std::to_string(flags & 0x4000));
    }
    bool OnCommand(UINT id, UINT, HWND) override {
        calls.push_back("command " + std::to_string(id));
        return id == 7;
    }
    void OnLButtonUp(UINT, POINT point) override {
        calls.push_back("up " + std::to_string(point.x) + "," + std::to_string(point.y));
    }

private:
    int m_createResult = 0;
};

TEST(FrameworkTest, WindowHandsMessagesToItsMembers) {
    RecordingWindow refused;
    EXPECT_FALSE(refused.Create(-1));
    EXPECT_EQ(refused.GetHwnd(), nullptr);

    auto window = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(window->Create(0));
    HWND hwnd = window->GetHwnd();
    // Repeat count 3, and bit 30: the key was already down.
    SendMessageW(hwnd, WM_KEYDOWN, 'A', 3 | (1 << 30));
    SendMessageW(hwnd, WM_COMMAND, 7, 0);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(-5, 40));
    EXPECT_EQ(window->calls, (std::vector<std::string>{"key 65 3 16384", "command 7", "up -5,40"}));

    DestroyWindow(hwnd);
    EXPECT_EQ(window->calls.back(), "destroy");
    EXPECT_EQ(window->GetHwnd(), nullptr);

    // An object that goes first takes its window along, without running its own handlers.
    auto early = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(early->Create(0));
    HWND earlyHwnd = early->GetHwnd();
    early.reset();
    EXPECT_FALSE(IsWindow(earlyHwnd));
}

// The about box's template with hooks that tests can watch.
class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(IDD_ABOUTBOX) {}

    std::vector<WPARAM> digits;
    std::function<void(HWND)> onInit;
    std::function<void()> onOK;

protected:
    BOOL OnInitDialog() override {
        if (onInit) {
            onInit(GetHwnd());
        }
        return TRUE;
    }
    void OnOK() override {
        if (onOK) {
            onOK();
        }
        CDialog::OnOK();
    }
    // Digits are taken before the dialog manager sees them.
    bool PreTranslateMessage(MSG& msg) override {
        if (msg.message == WM_KEYDOWN && msg.wParam >= '0' && msg.wParam <= '9') {
            digits.push_back(msg.wParam);
            return true;
        }
        return false;
    }
};

TEST(FrameworkTest, DialogSeesKeysFirstAndEndsWithEnterOrEscape) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND hwnd = dialog.GetHwnd();
    PostMessageW(hwnd, WM_KEYDOWN, '4', 1);
    PostMessageW(hwnd, WM_KEYDOWN, '2', 1);
    dialog.PumpMessages();
    EXPECT_EQ(dialog.digits, (std::vector<WPARAM>{'4', '2'}));
    EXPECT_FALSE(dialog.IsEnded());

    PostMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 1);
    dialog.PumpMessages();
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(dialog.GetResult(), IDOK);

    TestDialog escaped;
    ASSERT_TRUE(escaped.Create(nullptr));
    PostMessageW(escaped.GetHwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
    escaped.PumpMessages();
    EXPECT_EQ(escaped.GetResult(), IDCANCEL);
}

TEST(FrameworkTest, ModalDialogDisablesItsOwnerAndGivesTheResult) {
    RecordingWindow owner;
    ASSERT_TRUE(owner.Create(0));
    TestDialog dialog;
    bool ownerEnabledWhileOpen = true;
    HWND dialogOwner = nullptr;
    dialog.onInit = [&](HWND hwnd) {
        dialogOwner = GetWindow(hwnd, GW_OWNER);
        PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    };
    dialog.onOK = [&] { ownerEnabledWhileOpen = IsWindowEnabled(owner.GetHwnd()) != FALSE; };
    EXPECT_EQ(dialog.DoModal(owner.GetHwnd()), IDOK);
    EXPECT_EQ(dialogOwner, owner.GetHwnd());
    EXPECT_FALSE(ownerEnabledWhileOpen);
    EXPECT_TRUE(IsWindowEnabled(owner.GetHwnd()));
    EXPECT_EQ(dialog.GetHwnd(), nullptr) << "the window goes when DoModal returns";
}

TEST(FrameworkTest, QuitDuringModalDialogReachesTheOuterLoop) {
    TestDialog dialog;
    dialog.onInit = [](HWND) { PostQuitMessage(7); };
    EXPECT_EQ(dialog.DoModal(nullptr), -1);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

class ControlPanel {
public:
    ControlPanel() {
        m_parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                   nullptr, nullptr);
        Add(L"BUTTON", BS_AUTORADIOBUTTON | WS_GROUP, kRadio);
        Add(L"BUTTON", BS_AUTORADIOBUTTON, kRadio + 1);
        Add(L"BUTTON", BS_AUTOCHECKBOX, kCheck);
        Add(L"EDIT", ES_AUTOHSCROLL, kEdit);
        Add(L"COMBOBOX", CBS_DROPDOWNLIST, kList);
        Add(L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL, kCombo);
    }
    ~ControlPanel() { DestroyWindow(m_parent); }
    HWND Get() const { return m_parent; }

    static constexpr int kRadio = 101, kCheck = 103, kEdit = 104, kList = 105, kCombo = 106;

private:
    void Add(const wchar_t* cls, DWORD style, int id) {
        CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 100, 100, m_parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    HWND m_parent;
};

TEST(FrameworkTest, DataExchangeMovesValuesInAndOut) {
    ControlPanel panel;
    HWND d = panel.Get();
    using P = ControlPanel;

    EXPECT_EQ(GetRadioIndex(d, P::kRadio), -1) << "neither button checked";
    SetRadioIndex(d, P::kRadio, 1);
    EXPECT_EQ(GetRadioIndex(d, P::kRadio), 1);
    SetRadioIndex(d, P::kRadio, 0);
    EXPECT_EQ(GetRadioIndex(d, P::kRadio), 0);
    SetRadioIndex(d, P::kRadio, -1);
    EXPECT_EQ(GetRadioIndex(d, P::kRadio), -1);

    SetCheck(d, P::kCheck, true);
    EXPECT_TRUE(GetCheck(d, P::kCheck));
    SetCheck(d, P::kCheck, false);
    EXPECT_FALSE(GetCheck(d, P::kCheck));

    SetItemText(d, P::kEdit, "いぬ\\dog 12");
    EXPECT_EQ(GetItemText(d, P::kEdit), "いぬ\\dog 12");

    for (int id : {P::kList, P::kCombo}) {
        AddComboItem(d, id, "animals");
        AddComboItem(d, id, "Birds");
        AddComboItem(d, id, "起動時に選択");
        SetComboText(d, id, "bir");
        EXPECT_EQ(GetComboText(d, id), "Birds") << "prefix, ignoring case";
        SetComboText(d, id, "起動");
        EXPECT_EQ(GetComboText(d, id), "起動時に選択");
    }
    SetComboText(d, P::kList, "cats");
    EXPECT_EQ(GetComboText(d, P::kList), "") << "a list keeps no unknown text";
    SetComboText(d, P::kCombo, "cats");
    EXPECT_EQ(GetComboText(d, P::kCombo), "cats") << "an edit field takes any text";
}

}  // namespace
}  // namespace zz
