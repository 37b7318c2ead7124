#include "view/win32/zoomzap_view.h"

#include <mmsystem.h>

#include <algorithm>
#include <ctime>
#include <utility>

#include "framework/dpi.h"
#include "framework/gdi_guards.h"
#include "framework/message_box.h"
#include "framework/module.h"
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

// Straight from the module's resources: a paint copies nothing.
std::wstring_view PaintText(PaintPlan::Kind kind) {
    switch (kind) {
        case PaintPlan::Kind::kExitHint:
            return ResourceText(IDS_EXIT_HINT);
        case PaintPlan::Kind::kNoPictures:
            return ResourceText(IDS_NO_PICTURES);
        default:
            return ResourceText(IDS_INVITATION);
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
}

Rect CZoomzapView::ClientRect() const {
    RECT client{};
    GetClientRect(GetHwnd(), &client);
    return ToRect(client);
}

void CZoomzapView::OnInitialUpdate() {
    SetDpi(WindowDpi(GetHwnd()));
    LoadSettings();
    SetWindowTextW(GetParentFrame(), Widen(m_settings.title).c_str());
    LoadSoundList();
    ChooseStartupGroup();
    LoadPictures();
    m_random = CrtRandom(static_cast<std::uint32_t>(std::time(nullptr)));
    m_surface.SetLastRect(ClientRect());
}

void CZoomzapView::LoadSettings() {
    m_settings = CAppSettings(m_strProgramFolder).Load();
    m_settings.group = LiveGroupName(SystemFileSystem(), m_strProgramFolder, m_settings.group,
                                     m_settings.encoding);
    m_surface.ApplySettings(m_settings, ClientRect());
}

void CZoomzapView::LoadSoundList() {
    m_strSoundsFolder = SoundsFolder(m_strProgramFolder);
    m_soundNames =
        ListSoundNames(SystemFileSystem(), m_strProgramFolder, MaxMediaCount(m_settings));
    m_surface.SetSoundCount(static_cast<int>(m_soundNames.size()));
}

void CZoomzapView::ChooseStartupGroup() {
    if (m_settings.group != kGroupChooseAtStart) {
        return;
    }
    m_settings.group = m_pOwner != nullptr ? m_pOwner->PickStartupGroup() : std::string();
}

void CZoomzapView::LoadPictures() {
    // Every slot is emptied first, so the table holds this load's pictures and nothing older.
    // The pictures come on the picture worker; the window answers keys meanwhile.
    PictureLoadRules rules;
    rules.settings = m_settings;
    rules.maxCount = MaxMediaCount(m_settings);
    rules.soundCount = static_cast<int>(m_soundNames.size());
    m_unreadableNames.clear();  // this load names its own
    m_pictures.Load(GetHwnd(), m_strProgramFolder, rules);
    m_surface.SetPictures(0, m_pictures.Sounds());
}

void CZoomzapView::OnPicturesReady() {
    const CPictureStore::Update update = m_pictures.TakeUpdates();
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
            InStoredOrder(m_settings) ? m_pictures.LeadingCount() : m_pictures.LoadedCount();
        m_surface.SetPictureCount(count, m_pictures.Sounds());
    }
    const int current = m_surface.Current();
    Rect rect;
    if (current == -1) {
        InvalidateRect(GetHwnd(), nullptr, TRUE);  // the progress line
    } else if (m_pictures.LargeArrived(current) && m_surface.PictureRect(rect)) {
        const RECT sharper = ToRECT(rect);
        InvalidateRect(GetHwnd(), &sharper, FALSE);
    }
    WantPictures();
}

// Unreadable pictures are skipped like missing ones; the parent hears of them once the normal
// window shows.
void CZoomzapView::ReportUnreadableWhenSeen() {
    if (!m_unreadableNames.empty() && !m_surface.InGuardMode()) {
        PostMessageW(GetHwnd(), kReportUnreadableMessage, 0, 0);
    }
}

void CZoomzapView::OnReportUnreadable() {
    // Guarded again, or told already, since the message was posted: nothing to say now.
    if (m_surface.InGuardMode() || m_unreadableNames.empty() || m_pOwner == nullptr) {
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
         {current, InStoredOrder(m_settings) && count > 1 ? (current + 1) % count : -1}) {
        CPictureStore::Wanted wish{slot, 0, 0};
        if (slot >= 0 && m_surface.FinalPictureSize(slot, client, wish.width, wish.height)) {
            wanted.push_back(wish);
        }
    }
    m_pictures.Want(wanted);
}

bool CZoomzapView::GetPictureSize(int slot, int& width, int& height) const {
    return m_pictures.GetSize(slot, width, height);
}

void CZoomzapView::Paint(HDC dc, const RECT& client) {
    const PaintPlan plan = m_surface.Paint(ToRect(client));
    switch (plan.kind) {
        case PaintPlan::Kind::kPicture: {
            const Rect& r = plan.picture;
            m_pictures.Draw(plan.slot, dc, r.left, r.top, r.Width(), r.Height());
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
            if (!m_pictures.Loading()) {
                DrawPaintText(dc, plan, PaintText(plan.kind));
            }
            break;
        default:
            DrawPaintText(dc, plan, PaintText(plan.kind));
            break;
    }
    if (m_pictures.Loading() && plan.kind != PaintPlan::Kind::kPicture) {
        const std::wstring progress =
            FormatResourceString(IDS_LOAD_PROGRESS, WideDigits(m_pictures.LoadedCount()));
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
    if (index >= static_cast<int>(m_soundNames.size())) {
        return;
    }
    // The full path instead of a changed current directory: the same file, and no effect on
    // the file dialogs. A file that cannot be played stays silent.
    const std::wstring path = Widen(JoinPath(m_strSoundsFolder, m_soundNames[index]));
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
    if (answer.toggleGuardMode && m_pOwner != nullptr) {
        m_pOwner->ToggleGuardMode();
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

void CZoomzapView::OnGuardModeEntered() {
    Apply(m_surface.EnterGuardMode());
}

void CZoomzapView::OnGuardModeLeft() {
    m_surface.LeaveGuardMode();
    ReportUnreadableWhenSeen();
}

}  // namespace zz
