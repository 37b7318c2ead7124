#pragma once
// The play surface without a window: which picture comes next, how it grows, what a paint
// draws and what each message repaints. The Win32 view turns the answers into GDI, timer and
// sound calls.

#include <array>
#include <cstdint>

#include "settings/crt_random.h"
#include "view/geometry.h"

namespace zz {

class CAppSettings;

inline constexpr int kPictureSlots = 100;
inline constexpr int kAnimationTimerId = 2;

// Sizes of the pictures in the view's table; false for an empty slot.
class IPictureSizes {
public:
    virtual ~IPictureSizes() = default;
    virtual bool GetPictureSize(int slot, int& width, int& height) const = 0;
};

// What the shell must do after a message.
struct PlayEffects {
    enum class Timer { kKeep, kStart, kStop };
    enum class Repaint { kNone, kWholeWithErase, kRectWithoutErase };

    Timer timer = Timer::kKeep;
    Repaint repaint = Repaint::kNone;
    Rect rect;       // with kRectWithoutErase
    int sound = -1;  // index into the sound list to play, -1 for none
};

// A key press as the view's key handler reads it: the key, the modifiers as they were when it
// was pressed, and whether it is the auto-repeat of a key held down.
struct KeyPress {
    unsigned key = 0;  // virtual-key code
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    bool autoRepeat = false;
};

// What a key press asks for: the guard mode switched, the next picture, both or neither.
struct KeyAnswer {
    bool toggleGuardMode = false;
    bool nextPicture = false;
};

// What one paint draws.
struct PaintPlan {
    enum class Kind { kExitHint, kNoPictures, kPicture, kInvitation, kLoadProgress, kNothing };

    Kind kind = Kind::kNothing;
    int textX = 0;  // top-left corner of the text, text kinds only
    int textY = 0;
    int textHeight = 0;  // character cell size of the text's font
    int textWidth = 0;
    int slot = -1;  // kPicture: the slot to draw into `picture`
    Rect picture;
    std::array<Rect, 4> strips{};  // white strips of the last rectangle around the picture
    int stripCount = 0;
};

class PlaySurface {
public:
    PlaySurface(const IPictureSizes& pictures, IRandomSource& random);

    // Settings as the view copies them; the centre moves to the middle unless the mouse plays.
    void ApplySettings(const CAppSettings& settings, const Rect& client);
    void SetSoundCount(int count) { m_nSoundCount = count; }
    // After a picture load: nothing current, the loaded count and each slot's sound index.
    void SetPictures(int count, const std::array<int, kPictureSlots>& pictureSounds);
    // While a load goes on: more pictures count, and what is current stays.
    void SetPictureCount(int count, const std::array<int, kPictureSlots>& pictureSounds);
    void SetLastRect(const Rect& rect) { m_rcLast = rect; }
    // The monitor's dots per inch: the texts and their offsets grow with it.
    void SetDpi(int dpi) { m_nDpi = dpi > 0 ? dpi : kBaseDpi; }

    // Also ends the exit hint: it stays on the screen until the next picture is asked for.
    PlayEffects ShowNextPicture();
    // Ctrl+Shift+Del switches the guard mode once per press. Entering, the press shows only the
    // exit hint, so that the parent can read it; leaving, it also shows the next picture, as
    // every other fresh press does.
    KeyAnswer OnKeyDown(const KeyPress& press) const;
    PlayEffects OnTimer(const Rect& client);
    PlayEffects OnLButtonUp();
    PlayEffects OnMouseMove(int x, int y, const Rect& client);
    PlayEffects OnRButtonUp();
    PlayEffects EnterGuardMode();
    void LeaveGuardMode();

    // Consumes the one-shot no-pictures text, as the paint that shows it does.
    PaintPlan Paint(const Rect& client);
    // Where the line telling a picture load's progress goes: under the middle, in the texts'
    // font.
    PaintPlan ProgressTextPlan(const Rect& client) const;

    bool IsFullScreen() const { return m_bFullScreen; }
    bool MousePlays() const { return m_nMouse != 0; }
    int Speed() const { return m_nSpeed; }
    int Current() const { return m_nCurrent; }
    int HalfWidth() const { return m_nHalfWidth; }
    int Direction() const { return m_nDirection; }
    bool IsAnimating() const { return m_bAnimating; }
    int CenterX() const { return m_nCenterX; }
    int CenterY() const { return m_nCenterY; }
    int PictureCount() const { return m_nPictureCount; }
    const Rect& LastRect() const { return m_rcLast; }

    // Where the current picture stands; false when nothing drawable is current.
    bool PictureRect(Rect& rect) const;
    // The size the slot's picture has when a growth from the start stops in this client area:
    // the size its last tick draws; false for an empty slot.
    bool FinalPictureSize(int slot, const Rect& client, int& width, int& height) const;

private:
    PaintPlan TextPlan(PaintPlan::Kind kind, const Rect& client, int dxAt96, int dyAt96) const;
    std::int64_t NextHalfWidth(std::int64_t half, int direction) const;
    bool GrowthStopsAt(std::int64_t half, const Rect& client) const;
    bool GrowStep(const Rect& client);  // true when the growth just stopped
    int NextInOrder() const;
    int ChooseSound(bool randomOnlyWithSoundOn) const;

    const IPictureSizes& m_pictures;
    IRandomSource& m_random;

    int m_nPictureCount = 0;
    int m_nCurrent = -1;
    int m_nCenterX = 0;
    int m_nCenterY = 0;
    int m_nHalfWidth = 1;
    int m_nDirection = +1;
    Rect m_rcLast;
    bool m_bAnimating = false;
    int m_nSoundCount = 0;
    std::array<int, kPictureSlots> m_nPictureSound{};
    bool m_bFullScreen = false;
    bool m_bShowExitHint = false;
    bool m_bShowNoPictures = false;

    int m_nGrowth = 10;
    int m_nSpeed = 1;
    int m_nMaxZoom = 100;
    int m_nMouse = 0;
    int m_nSound = 0;
    int m_nDisplayOrder = 0;

    static constexpr int kBaseDpi = 96;
    int m_nDpi = kBaseDpi;
};

}  // namespace zz
