#include "view/play_surface.h"

#include <algorithm>
#include <cstdint>

#include "settings/app_settings.h"

namespace zz {

namespace {

constexpr int kPercent = 100;
constexpr unsigned kVkDelete = 0x2E;
// Far beyond any screen; keeps every coordinate inside 32 bits whatever the settings hold.
constexpr std::int64_t kMaxHalfWidth = 1 << 24;

// Text origins relative to the middle of the client area, and the font's cell, at 96 DPI.
constexpr int kExitHintDx = -370;
constexpr int kNoPicturesDx = -180;
constexpr int kInvitationDx = -200;
constexpr int kTextDy = -25;
constexpr int kProgressDx = -200;
constexpr int kProgressDy = 10;
constexpr int kTextHeight = 25;
constexpr int kTextWidth = 13;

std::int64_t HalfHeight(std::int64_t halfWidth, int width, int height) {
    return std::min<std::int64_t>(halfWidth * height / width, kMaxHalfWidth);
}

}  // namespace

PlaySurface::PlaySurface(const IPictureSizes& pictures, IRandomSource& random)
    : m_pictures(pictures), m_random(random) {
    m_nPictureSound.fill(-1);
}

void PlaySurface::ApplySettings(const CAppSettings& settings, const Rect& client) {
    m_nGrowth = settings.m_nGrowth;
    m_nSpeed = settings.m_nSpeed;
    m_nMaxZoom = settings.m_nMaxZoom;
    m_nMouse = settings.m_nMouse;
    if (m_nMouse == 0) {
        m_nCenterX = client.right / 2;
        m_nCenterY = client.bottom / 2;
    }
    m_nSound = settings.m_nSound;
    m_nDisplayOrder = settings.m_nDisplayOrder;
}

void PlaySurface::SetPictures(int count, const std::array<int, kPictureSlots>& pictureSounds) {
    m_nCurrent = -1;
    m_nPictureCount = count;
    m_nPictureSound = pictureSounds;
}

void PlaySurface::SetPictureCount(int count, const std::array<int, kPictureSlots>& pictureSounds) {
    m_nPictureCount = count;
    m_nPictureSound = pictureSounds;
}

bool PlaySurface::PictureRect(Rect& rect) const {
    int width = 0;
    int height = 0;
    if (m_nCurrent < 0 || !m_pictures.GetPictureSize(m_nCurrent, width, height) || width <= 0 ||
        height < 0) {
        return false;
    }
    const std::int64_t halfHeight = HalfHeight(m_nHalfWidth, width, height);
    rect = {m_nCenterX - m_nHalfWidth, m_nCenterY - static_cast<int>(halfHeight),
            m_nCenterX + m_nHalfWidth, m_nCenterY + static_cast<int>(halfHeight)};
    return true;
}

// In order every slot that holds a picture comes in turn; a listed file that is missing
// leaves its slot empty, and skipping it keeps the later pictures reachable.
int PlaySurface::NextInOrder() const {
    if (m_nPictureCount <= 0) {
        return -1;
    }
    for (int step = 1; step <= kPictureSlots; ++step) {
        const int slot = (m_nCurrent + step) % kPictureSlots;
        int width = 0;
        int height = 0;
        if (m_pictures.GetPictureSize(slot, width, height)) {
            return slot;
        }
    }
    return -1;
}

int PlaySurface::ChooseSound(bool randomOnlyWithSoundOn) const {
    const int assigned = m_nCurrent >= 0 ? m_nPictureSound[m_nCurrent] : -1;
    if (assigned != -1) {
        return assigned;
    }
    if (randomOnlyWithSoundOn && m_nSound == 0) {
        return -1;
    }
    return RandomIndex(m_random, m_nSoundCount);
}

PlayEffects PlaySurface::ShowNextPicture() {
    m_bShowExitHint = false;
    m_nHalfWidth = 1;
    m_nCurrent = m_nDisplayOrder == 0 ? RandomIndex(m_random, m_nPictureCount) : NextInOrder();
    if (m_nCurrent == -1) {
        m_bShowNoPictures = true;
    }
    m_bAnimating = true;

    PlayEffects effects;
    effects.timer = PlayEffects::Timer::kStart;
    effects.repaint = PlayEffects::Repaint::kWholeWithErase;
    effects.sound = ChooseSound(true);
    return effects;
}

KeyAnswer PlaySurface::OnKeyDown(const KeyPress& press) const {
    if (press.autoRepeat) {
        return {};
    }
    const bool toggle = press.key == kVkDelete && press.ctrl && press.shift && !press.alt;
    return {toggle, !toggle || m_bFullScreen};
}

std::int64_t PlaySurface::NextHalfWidth(std::int64_t half, int direction) const {
    std::int64_t step = std::int64_t{m_nGrowth} * half * direction / kPercent;
    if (direction > 0) {
        step = std::max<std::int64_t>(step, 1);
    } else {
        step = std::min<std::int64_t>(step, -1);
    }
    // Never below zero, so that a huge growth cannot fling a shrinking picture far negative.
    return std::clamp<std::int64_t>(half + step, 0, kMaxHalfWidth);
}

bool PlaySurface::GrowthStopsAt(std::int64_t half, const Rect& client) const {
    const std::int64_t limit = std::int64_t{client.Width()} * m_nMaxZoom / kPercent;
    return 2 * half > limit || half == kMaxHalfWidth;
}

bool PlaySurface::GrowStep(const Rect& client) {
    const std::int64_t half = NextHalfWidth(m_nHalfWidth, m_nDirection);
    m_nHalfWidth = static_cast<int>(half);
    if (m_nDirection > 0) {
        if (GrowthStopsAt(half, client)) {
            m_bAnimating = false;
            return true;
        }
    } else if (m_nHalfWidth < 2) {
        m_nDirection = +1;
    }
    return false;
}

bool PlaySurface::FinalPictureSize(int slot, const Rect& client, int& width, int& height) const {
    int pictureWidth = 0;
    int pictureHeight = 0;
    if (!m_pictures.GetPictureSize(slot, pictureWidth, pictureHeight) || pictureWidth <= 0 ||
        pictureHeight < 0) {
        return false;
    }
    // A growth takes one step at least, from a half width of 1.
    std::int64_t half = NextHalfWidth(1, +1);
    if (m_nGrowth <= 0) {
        // One pixel a tick: straight to the first half width past the limit.
        const std::int64_t limit = std::int64_t{client.Width()} * m_nMaxZoom / kPercent;
        half = std::clamp<std::int64_t>(limit / 2 + 1, half, kMaxHalfWidth);
    }
    while (!GrowthStopsAt(half, client)) {
        half = NextHalfWidth(half, +1);
    }
    width = static_cast<int>(2 * half);
    height = static_cast<int>(2 * HalfHeight(half, pictureWidth, pictureHeight));
    return true;
}

PlayEffects PlaySurface::OnTimer(const Rect& client) {
    PlayEffects effects;
    if (m_nCurrent == -1) {
        return effects;
    }
    if (GrowStep(client)) {
        effects.timer = PlayEffects::Timer::kStop;
    }
    Rect picture;
    if (PictureRect(picture)) {
        effects.repaint = PlayEffects::Repaint::kRectWithoutErase;
        effects.rect = Union(m_rcLast, picture);
    }
    return effects;
}

PlayEffects PlaySurface::OnLButtonUp() {
    return m_nMouse == 0 ? PlayEffects{} : ShowNextPicture();
}

PlayEffects PlaySurface::OnMouseMove(int x, int y, const Rect& client) {
    PlayEffects effects;
    if (m_nMouse == 0) {
        return effects;
    }
    if (m_nCurrent == -1) {
        m_nCenterX = x;
        m_nCenterY = y;
        return effects;
    }
    Rect before;
    const bool drawable = PictureRect(before);
    if (drawable) {
        m_rcLast = before;
    }
    m_nCenterX = x;
    m_nCenterY = y;
    if (m_bAnimating && GrowStep(client)) {
        effects.timer = PlayEffects::Timer::kStop;
    }
    Rect after;
    if (drawable && PictureRect(after)) {
        effects.repaint = PlayEffects::Repaint::kRectWithoutErase;
        effects.rect = Union(m_rcLast, after);
    }
    return effects;
}

PlayEffects PlaySurface::OnRButtonUp() {
    PlayEffects effects;
    if (m_nMouse == 0 || m_nCurrent == -1) {
        return effects;
    }
    if (m_bAnimating) {
        m_bAnimating = false;
        effects.timer = PlayEffects::Timer::kStop;
    } else {
        m_bAnimating = true;
        m_nDirection = -m_nDirection;
        effects.timer = PlayEffects::Timer::kStart;
    }
    if (m_nSound != 0) {
        effects.sound = ChooseSound(false);
    }
    return effects;
}

PlayEffects PlaySurface::EnterGuardMode() {
    m_bFullScreen = true;
    m_bShowExitHint = true;
    m_bAnimating = false;
    PlayEffects effects;
    effects.timer = PlayEffects::Timer::kStop;
    effects.repaint = PlayEffects::Repaint::kWholeWithErase;
    return effects;
}

void PlaySurface::LeaveGuardMode() {
    m_bFullScreen = false;
    m_bShowExitHint = false;
}

PaintPlan PlaySurface::TextPlan(PaintPlan::Kind kind, const Rect& client, int dxAt96,
                                int dyAt96) const {
    PaintPlan plan;
    plan.kind = kind;
    plan.textX = (client.left + client.right) / 2 + ScaleToDpi(dxAt96, m_nDpi);
    plan.textY = (client.top + client.bottom) / 2 + ScaleToDpi(dyAt96, m_nDpi);
    plan.textHeight = ScaleToDpi(kTextHeight, m_nDpi);
    plan.textWidth = ScaleToDpi(kTextWidth, m_nDpi);
    return plan;
}

PaintPlan PlaySurface::ProgressTextPlan(const Rect& client) const {
    return TextPlan(PaintPlan::Kind::kLoadProgress, client, kProgressDx, kProgressDy);
}

PaintPlan PlaySurface::Paint(const Rect& client) {
    PaintPlan plan;
    auto text = [&](PaintPlan::Kind kind, int dx) { plan = TextPlan(kind, client, dx, kTextDy); };
    if (m_bShowExitHint) {
        text(PaintPlan::Kind::kExitHint, kExitHintDx);
    } else if (m_bShowNoPictures) {
        m_bShowNoPictures = false;
        text(PaintPlan::Kind::kNoPictures, kNoPicturesDx);
    } else if (m_nCurrent != -1) {
        if (PictureRect(plan.picture)) {
            plan.kind = PaintPlan::Kind::kPicture;
            plan.slot = m_nCurrent;
            const Rect& last = m_rcLast;
            const Rect& p = plan.picture;
            auto strip = [&](bool needed, Rect r) {
                if (needed) {
                    plan.strips[plan.stripCount++] = r;
                }
            };
            strip(last.left < p.left, {last.left, last.top, p.left, last.bottom});
            strip(last.top < p.top, {last.left, last.top, last.right, p.top});
            strip(last.right > p.right, {p.right, last.top, last.right, last.bottom});
            strip(last.bottom > p.bottom, {last.left, p.bottom, last.right, last.bottom});
        }
    } else {
        text(PaintPlan::Kind::kInvitation, kInvitationDx);
    }
    return plan;
}

}  // namespace zz
