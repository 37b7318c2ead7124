#include "view/win32/zoomzap_view.h"

#include <mmsystem.h>

#include <algorithm>
#include <ctime>
#include <utility>

#include "app/zoomzap_app.h"
#include "dialogs/win32/group_pick_dlg.h"
#include "framework/dpi.h"
#include "framework/gdi_guards.h"
#include "framework/unicode.h"
#include "resources/resource.h"
#include "settings/app_settings.h"
#include "settings/media_library.h"

namespace zz {

namespace {

constexpr UINT kAutoRepeatFlag = 0x4000;  // in the high word of the key message's lParam
// Posted to the view itself, so that the owner's message never runs inside a key handler.
constexpr UINT kReportUnreadableMessage = WM_APP + 9;

// The paint's texts: extra bold, a Japanese font of the system's choice, black on opaque
// white cells (the DC's defaults).
void DrawPaintText(HDC dc, const PaintPlan& plan, std::wstring_view text) {
    Font font(CreateFontW(plan.textHeight, plan.textWidth, 0, 0, FW_EXTRABOLD, FALSE, FALSE, FALSE,
                          SHIFTJIS_CHARSET, OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS,
                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, nullptr));
    SelectGuard select(dc, font.Get());
    TextOutW(dc, plan.textX, plan.textY, text.data(), static_cast<int>(text.size()));
}

std::wstring_view PaintText(PaintPlan::Kind kind) {
    switch (kind) {
        case PaintPlan::Kind::kExitHint:
            return L"Ctrl と Shift と Del を同時に押すと通常表示に戻ります。";
        case PaintPlan::Kind::kNoPictures:
            return L"画像ファイルがありません";
        default:
            return L"きーぼーどをバンバンたたいてね";
    }
}

// As the key was when the message was made, not when it is read: a busy moment between the
// two must not lose a quick Ctrl+Shift+Del.
bool KeyWasDown(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

// Full-width digits: the paint's font is asked for by character set only, and the one the
// system gives may lack the narrow ones.
std::wstring WideDigits(int value) {
    std::wstring digits = std::to_wstring(value);
    for (wchar_t& digit : digits) {
        digit = static_cast<wchar_t>(digit - L'0' + L'０');
    }
    return digits;
}

RECT ToRECT(const Rect& rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

Rect ToRect(const RECT& rect) {
    return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

CZoomzapView::CZoomzapView(std::string programFolder)
    : m_strProgramFolder(std::move(programFolder)) {
    m_surface.SetSoundCount(0);
    if (CZoomzapApp* app = GetZoomzapApp()) {
        app->m_pPlayView = this;
    }
}

Rect CZoomzapView::ClientRect() const {
    RECT client{};
    GetClientRect(GetHwnd(), &client);
    return ToRect(client);
}

void CZoomzapView::OnInitialUpdate() {
    SetDpi(WindowDpi(GetHwnd()));
    LoadSettings();
    SetWindowTextW(GetParentFrame(), Widen(m_strTitle).c_str());
    LoadSoundList();
    ChooseStartupGroup();
    LoadPictures();
    m_random = CrtRandom(static_cast<std::uint32_t>(std::time(nullptr)));
    m_surface.SetLastRect(ClientRect());
    m_keyboardGuard.SetUp();
    // A rerun while guarded, as after a new document, keeps the child inside.
    if (m_nStartMode != 0 && !m_surface.IsFullScreen()) {
        EnterGuardMode();
    }
}

void CZoomzapView::LoadSettings() {
    CAppSettings settings(m_strProgramFolder);
    settings.Load();
    m_strTitle = settings.m_strTitle;
    m_nRotation = settings.m_nRotation;
    m_nStartMode = settings.m_nStartMode;
    m_surface.ApplySettings(settings, ClientRect());
    m_encoding = settings.m_encoding;
    m_strGroup =
        LiveGroupName(SystemFileSystem(), m_strProgramFolder, settings.m_strGroup, m_encoding);
    m_nDisplayOrder = settings.m_nDisplayOrder;
    m_pictureOrder = settings.m_pictureOrder;
    m_nMaxCount = settings.MaxMediaCount();
}

void CZoomzapView::LoadSoundList() {
    m_szSoundsDir = SoundsFolder(m_strProgramFolder);
    m_szSoundNames = ListSoundNames(SystemFileSystem(), m_strProgramFolder, m_nMaxCount);
    m_surface.SetSoundCount(static_cast<int>(m_szSoundNames.size()));
}

void CZoomzapView::ChooseStartupGroup() {
    if (m_strGroup != kGroupChooseAtStart) {
        return;
    }
    // Closed without a choice, the picker leaves an empty group: all groups.
    CGroupPickDlg picker(m_strProgramFolder);
    picker.DoModal();
    m_strGroup = picker.m_strGroup;
}

void CZoomzapView::LoadPictures() {
    // Every slot is emptied first, so the table holds this load's pictures and nothing older.
    // The pictures come on the picture worker; the window answers keys meanwhile.
    PictureLoadRules rules;
    rules.maxCount = m_nMaxCount;
    rules.displayOrder = m_nDisplayOrder;
    rules.group = m_strGroup;
    rules.order = m_pictureOrder;
    rules.encoding = m_encoding;
    rules.soundCount = static_cast<int>(m_szSoundNames.size());
    m_unreadableNames.clear();  // this load names its own
    m_hPictures.Load(GetHwnd(), m_strProgramFolder, rules);
    m_surface.SetPictures(0, m_hPictures.Sounds());
}

void CZoomzapView::OnPicturesReady() {
    const CPictureStore::Update update = m_hPictures.TakeUpdates();
    if (!update.changed) {
        return;
    }
    if (update.done) {
        m_surface.SetPictureCount(update.result.count, update.result.sounds);
        m_unreadableNames = update.result.unreadableNames;
        ReportUnreadableWhenSeen();
    } else {
        // In order the next picture is the next slot: only slots without a gap before them.
        const int count =
            m_nDisplayOrder == 1 ? m_hPictures.LeadingCount() : m_hPictures.LoadedCount();
        m_surface.SetPictureCount(count, m_hPictures.Sounds());
    }
    const int current = m_surface.Current();
    Rect rect;
    if (current == -1) {
        InvalidateRect(GetHwnd(), nullptr, TRUE);  // the progress line
    } else if (m_hPictures.LargeArrived(current) && m_surface.PictureRect(rect)) {
        const RECT sharper = ToRECT(rect);
        InvalidateRect(GetHwnd(), &sharper, FALSE);
    }
    WantPictures();
}

// Unreadable pictures are skipped like missing ones; the parent hears of them once the normal
// window shows.
void CZoomzapView::ReportUnreadableWhenSeen() {
    if (!m_unreadableNames.empty() && !m_surface.IsFullScreen()) {
        PostMessageW(GetHwnd(), kReportUnreadableMessage, 0, 0);
    }
}

void CZoomzapView::OnReportUnreadable() {
    // Guarded again, or told already, since the message was posted: nothing to say now.
    if (m_surface.IsFullScreen() || m_unreadableNames.empty() || m_pOwner == nullptr) {
        return;
    }
    m_pOwner->OnUnreadablePictures(std::exchange(m_unreadableNames, {}));
}

// The current picture's copy at the size its growth ends at, and in order the next one's, made
// before they grow.
void CZoomzapView::WantPictures() {
    const int current = m_surface.Current();
    if (current < 0) {
        return;
    }
    const Rect client = ClientRect();
    const int count = m_surface.PictureCount();
    std::vector<CPictureStore::Wanted> wanted;
    for (const int slot :
         {current, m_nDisplayOrder == 1 && count > 1 ? (current + 1) % count : -1}) {
        CPictureStore::Wanted wish{slot, 0, 0};
        if (slot >= 0 && m_surface.FinalPictureSize(slot, client, wish.width, wish.height)) {
            wanted.push_back(wish);
        }
    }
    m_hPictures.Want(wanted);
}

bool CZoomzapView::GetPictureSize(int slot, int& width, int& height) const {
    return m_hPictures.GetSize(slot, width, height);
}

void CZoomzapView::Paint(HDC dc, const RECT& client) {
    const PaintPlan plan = m_surface.Paint(ToRect(client));
    switch (plan.kind) {
        case PaintPlan::Kind::kPicture: {
            const Rect& r = plan.picture;
            m_hPictures.Draw(plan.slot, dc, r.left, r.top, r.Width(), r.Height());
            for (int i = 0; i < plan.stripCount; ++i) {
                const RECT strip = ToRECT(plan.strips[i]);
                FillRect(dc, &strip, m_brWhite.Get());
            }
            break;
        }
        case PaintPlan::Kind::kNothing:
            break;
        case PaintPlan::Kind::kNoPictures:
            // None yet is no answer while the load goes on.
            if (!m_hPictures.Loading()) {
                DrawPaintText(dc, plan, PaintText(plan.kind));
            }
            break;
        default:
            DrawPaintText(dc, plan, PaintText(plan.kind));
            break;
    }
    if (m_hPictures.Loading() && plan.kind != PaintPlan::Kind::kPicture) {
        const std::wstring progress =
            L"画像を読み込んでいます（" + WideDigits(m_hPictures.LoadedCount()) + L"枚）";
        DrawPaintText(dc, m_surface.ProgressTextPlan(ToRect(client)), progress);
    }
}

void CZoomzapView::Apply(const PlayEffects& effects) {
    switch (effects.timer) {
        case PlayEffects::Timer::kStart:
            // A period below one millisecond, typed into the settings, means as fast as can be.
            SetTimer(GetHwnd(), kAnimationTimerId,
                     static_cast<UINT>(std::max(m_surface.Speed(), 1)), nullptr);
            break;
        case PlayEffects::Timer::kStop:
            KillTimer(GetHwnd(), kAnimationTimerId);
            break;
        case PlayEffects::Timer::kKeep:
            break;
    }
    if (effects.repaint == PlayEffects::Repaint::kWholeWithErase) {
        InvalidateRect(GetHwnd(), nullptr, TRUE);
    } else if (effects.repaint == PlayEffects::Repaint::kRectWithoutErase) {
        const RECT rect = ToRECT(effects.rect);
        InvalidateRect(GetHwnd(), &rect, FALSE);
    }
    if (effects.sound >= 0) {
        PlaySoundIndex(effects.sound);
    }
}

void CZoomzapView::PlaySoundIndex(int index) const {
    if (index >= static_cast<int>(m_szSoundNames.size())) {
        return;
    }
    // The full path instead of a changed current directory: the same file, and no effect on
    // the file dialogs. A file that cannot be played stays silent.
    const std::wstring path = Widen(JoinPath(m_szSoundsDir, m_szSoundNames[index]));
    PlaySoundW(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

LRESULT CZoomzapView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Without the mouse the border gets no hover handling either.
    if (message == WM_NCMOUSEMOVE && !m_surface.MousePlays()) {
        return 0;
    }
    // The frame moved to a monitor of another DPI and has taken its new size.
    if (message == WM_DPICHANGED_AFTERPARENT) {
        SetDpi(WindowDpi(GetHwnd()));
        InvalidateRect(GetHwnd(), nullptr, TRUE);
        return 0;
    }
    if (message == kPicturesReadyMessage) {
        OnPicturesReady();
        return 0;
    }
    if (message == kReportUnreadableMessage) {
        OnReportUnreadable();
        return 0;
    }
    return CView::WindowProc(message, wParam, lParam);
}

void CZoomzapView::OnKeyDown(UINT key, UINT, UINT flags) {
    KeyPress press;
    press.key = key;
    press.ctrl = KeyWasDown(VK_CONTROL);
    press.shift = KeyWasDown(VK_SHIFT);
    press.alt = KeyWasDown(VK_MENU);
    press.autoRepeat = (flags & kAutoRepeatFlag) != 0;
    const KeyAnswer answer = m_surface.OnKeyDown(press);
    if (answer.toggleGuardMode) {
        ToggleFullScreen();
    }
    if (answer.nextPicture) {
        Apply(m_surface.ShowNextPicture());
        WantPictures();  // only keys and clicks choose a new picture
    }
}

void CZoomzapView::OnTimer(UINT_PTR id) {
    HWND frame = GetParentFrame();
    if (!IsZoomed(frame)) {
        ShowWindow(frame, SW_MAXIMIZE);
    }
    if (id == kAnimationTimerId) {
        Apply(m_surface.OnTimer(ClientRect()));
    }
}

void CZoomzapView::OnMouseMove(UINT, POINT point) {
    Apply(m_surface.OnMouseMove(point.x, point.y, ClientRect()));
}

void CZoomzapView::OnLButtonUp(UINT, POINT) {
    Apply(m_surface.OnLButtonUp());
    WantPictures();
}

void CZoomzapView::OnRButtonUp(UINT, POINT) {
    Apply(m_surface.OnRButtonUp());
}

void CZoomzapView::ToggleFullScreen() {
    if (m_surface.IsFullScreen()) {
        LeaveGuardMode();
    } else {
        EnterGuardMode();
    }
}

void CZoomzapView::EnterGuardMode() {
    HWND frame = GetParentFrame();
    HMENU menu = GetMenu(frame);
    SetMenu(frame, nullptr);
    DestroyMenu(menu);

    GetClientRect(GetHwnd(), &m_rcSaved);
    // Still maximized, the frame keeps its maximized size under Wine, a strip of the desktop
    // short at the right and bottom.
    if (IsZoomed(frame)) {
        ShowWindow(frame, SW_RESTORE);
    }
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(frame, HWND_TOPMOST, 0, 0, screenWidth, m_rcSaved.bottom, SWP_SHOWWINDOW);
    SetWindowLongPtrW(frame, GWL_STYLE,
                      GetWindowLongPtrW(frame, GWL_STYLE) & ~(WS_CAPTION | WS_SYSMENU));
    // The frame must be recomputed without the caption, or a shown window keeps its old one.
    SetWindowPos(frame, HWND_TOPMOST, 0, 0, screenWidth, screenHeight,
                 SWP_SHOWWINDOW | SWP_FRAMECHANGED);

    if (m_bCursorShown) {
        ShowCursor(FALSE);
        m_bCursorShown = false;
    }
    // A second monitor must not offer the child a desktop to click.
    RECT frameRect{};
    GetWindowRect(frame, &frameRect);
    ClipCursor(&frameRect);
    Apply(m_surface.EnterGuardMode());
}

void CZoomzapView::LeaveGuardMode() {
    HWND frame = GetParentFrame();
    SetMenu(frame, LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)));

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(frame, HWND_NOTOPMOST, 0, screenHeight - m_rcSaved.bottom, screenWidth,
                 m_rcSaved.bottom, SWP_SHOWWINDOW);
    SetWindowLongPtrW(frame, GWL_STYLE,
                      GetWindowLongPtrW(frame, GWL_STYLE) | WS_CAPTION | WS_SYSMENU);
    SetWindowPos(frame, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    SetWindowPos(frame, HWND_NOTOPMOST, 0, 0, screenWidth, screenHeight, SWP_SHOWWINDOW);
    ShowWindow(frame, SW_SHOWNORMAL);
    ShowWindow(frame, SW_MAXIMIZE);

    m_surface.LeaveGuardMode();
    if (!m_bCursorShown) {
        ShowCursor(TRUE);
        m_bCursorShown = true;
    }
    ClipCursor(nullptr);
    ReportUnreadableWhenSeen();
}

void CZoomzapView::OnDestroy() {
    GiveBackToSystem();
}

// Every way the program ends passes here: the cursor, its clip, the keys and the screen saver
// go back to the system.
void CZoomzapView::GiveBackToSystem() {
    m_keyboardGuard.Release();
    ClipCursor(nullptr);
    if (!m_bCursorShown) {
        ShowCursor(TRUE);
        m_bCursorShown = true;
    }
}

}  // namespace zz
