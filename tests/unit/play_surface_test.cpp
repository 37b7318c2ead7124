#include "view/play_surface.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <tuple>
#include <vector>

#include "settings/app_settings.h"

namespace zz {
namespace {

struct FakePictures : IPictureSizes {
    std::map<int, std::pair<int, int>> sizes;
    bool GetPictureSize(int slot, int& width, int& height) const override {
        const auto it = sizes.find(slot);
        return it != sizes.end() && (std::tie(width, height) = it->second, true);
    }
};

// Hands out prepared generator values, so a test states which picture and sound come.
struct ScriptedRandom : IRandomSource {
    std::deque<int> values;
    int Next() override {
        const int value = values.empty() ? 0 : values.front();
        values.empty() ? void() : values.pop_front();
        return value;
    }
};

constexpr Rect kClient{0, 0, 800, 600};

// The generator value that makes RandomIndex(n) pick `index`.
int ValueFor(int index, int n) {
    return (index * 32768 + n - 1) / n;
}

class PlaySurfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.m_nGrowth = 10;
        settings.m_nSpeed = 1;
        settings.m_nMaxZoom = 100;
        settings.m_nDisplayOrder = 1;
    }

    // Fills `count` slots with 400x200 pictures and applies the settings.
    void Start(int count, std::array<int, kPictureSlots> sounds = Unassigned()) {
        for (int slot = 0; slot < count; ++slot) {
            pictures.sizes[slot] = {400, 200};
        }
        surface.ApplySettings(settings, kClient);
        surface.SetPictures(count, sounds);
        surface.SetLastRect(kClient);
    }

    void Apply() { surface.ApplySettings(settings, kClient); }
    std::vector<int> ShowNext(int n) {
        std::vector<int> shown;
        for (int i = 0; i < n; ++i) {
            surface.ShowNextPicture();
            shown.push_back(surface.Current());
        }
        return shown;
    }

    static std::array<int, kPictureSlots> Unassigned() {
        std::array<int, kPictureSlots> sounds;
        sounds.fill(-1);
        return sounds;
    }

    CAppSettings settings{"unused"};
    FakePictures pictures;
    ScriptedRandom random;
    PlaySurface surface{pictures, random};
};

TEST_F(PlaySurfaceTest, GrowthIsGeometricWithAOnePixelFloorAndStopsPastTheMaximum) {
    Start(1);
    surface.ShowNextPicture();
    std::vector<int> halves{surface.HalfWidth()};
    int ticks = 0;
    PlayEffects effects;
    do {
        effects = surface.OnTimer(kClient);
        halves.push_back(surface.HalfWidth());
        ++ticks;
    } while (effects.timer != PlayEffects::Timer::kStop && ticks < 1000);

    // One pixel a tick while 10 % is less, then 10 % a tick.
    const std::vector<int> expected{
        1,  2,  3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,  16,  17,  18,
        19, 20, 22,  24,  26,  28,  30,  33,  36,  39,  42,  46,  50,  55,  60,  66,  72,  79,
        86, 94, 103, 113, 124, 136, 149, 163, 179, 196, 215, 236, 259, 284, 312, 343, 377, 414};
    EXPECT_EQ(halves, expected);
    EXPECT_EQ(ticks, 53);
    EXPECT_FALSE(surface.IsAnimating());

    Rect rect;
    ASSERT_TRUE(surface.PictureRect(rect));
    EXPECT_EQ(rect, (Rect{400 - 414, 300 - 207, 400 + 414, 300 + 207}));
}

// The size a growth ends at is known before the first tick, for any growth, zoom and shape.
TEST_F(PlaySurfaceTest, FinalSizeIsTheSizeTheLastTickDraws) {
    pictures.sizes = {{0, {400, 200}}, {1, {300, 1000}}, {2, {999, 1}}};
    for (const int growth : {10, 30, 1, 0, -20, 250}) {
        for (const int zoom : {100, 50, 7, 0}) {
            settings.m_nGrowth = growth;
            settings.m_nMaxZoom = zoom;
            surface.ApplySettings(settings, kClient);
            for (int slot = 0; slot < 3; ++slot) {
                SCOPED_TRACE(testing::Message() << growth << " % to " << zoom << " %, " << slot);
                int width = 0;
                int height = 0;
                ASSERT_TRUE(surface.FinalPictureSize(slot, kClient, width, height));
                surface.SetPictures(3, Unassigned());
                for (int shown = 0; shown <= slot; ++shown) {
                    surface.ShowNextPicture();  // in order: slot 0, 1, …
                }
                while (surface.IsAnimating()) {
                    surface.OnTimer(kClient);
                }
                Rect drawn;
                ASSERT_TRUE(surface.PictureRect(drawn));
                ASSERT_EQ(surface.Current(), slot);
                EXPECT_EQ(width, drawn.Width());
                EXPECT_EQ(height, drawn.Height());
            }
        }
    }
    int width = 0;
    int height = 0;
    EXPECT_FALSE(surface.FinalPictureSize(5, kClient, width, height));
}

TEST_F(PlaySurfaceTest, HugeSettingsAndZeroWidthPicturesNeitherOverflowNorDivideByZero) {
    settings.m_nGrowth = 2147483647;
    settings.m_nMaxZoom = 2147483647;
    Start(1);
    surface.ShowNextPicture();
    int ticks = 0;
    while (surface.IsAnimating() && ticks < 100) {
        surface.OnTimer(kClient);
        ++ticks;
    }
    EXPECT_FALSE(surface.IsAnimating()) << "growth must end even when the maximum is out of reach";
    EXPECT_GT(surface.HalfWidth(), 0);

    // Shrinking with a huge growth stops at zero instead of far below it.
    surface.SetPictures(1, Unassigned());
    settings.m_nMouse = 1;
    Apply();
    surface.ShowNextPicture();
    surface.OnTimer(kClient);
    surface.OnRButtonUp();  // pause
    surface.OnRButtonUp();  // resume shrinking
    surface.OnTimer(kClient);
    EXPECT_EQ(surface.HalfWidth(), 0);
    EXPECT_EQ(surface.Direction(), +1);

    pictures.sizes[0] = {0, 50};
    Rect rect;
    EXPECT_FALSE(surface.PictureRect(rect));
    EXPECT_EQ(surface.Paint(kClient).kind, PaintPlan::Kind::kNothing);
}

TEST_F(PlaySurfaceTest, InOrderKeysCycleThroughLoadedSlotsAndSkipEmptyOnes) {
    Start(3);
    PlayEffects first = surface.ShowNextPicture();
    EXPECT_EQ(first.repaint, PlayEffects::Repaint::kWholeWithErase);
    EXPECT_EQ(first.timer, PlayEffects::Timer::kStart);
    EXPECT_EQ(surface.Current(), 0);
    // A tick repaints the union of the last rectangle and the picture, without erasing.
    PlayEffects tick = surface.OnTimer(kClient);
    EXPECT_EQ(tick.repaint, PlayEffects::Repaint::kRectWithoutErase);
    EXPECT_EQ(tick.rect, kClient);
    EXPECT_EQ(ShowNext(4), (std::vector<int>{1, 2, 0, 1}));

    // A listed file that was missing leaves slot 1 empty; slot 2 must still come.
    pictures.sizes.erase(1);
    surface.SetPictures(2, Unassigned());
    EXPECT_EQ(ShowNext(4), (std::vector<int>{0, 2, 0, 2}));
}

TEST_F(PlaySurfaceTest, RandomChoiceUsesTheGeneratorAndNoPicturesShowsTheTextOnce) {
    settings.m_nDisplayOrder = 0;
    Start(4);
    random.values = {ValueFor(3, 4), ValueFor(3, 4)};
    surface.ShowNextPicture();
    EXPECT_EQ(surface.Current(), 3);
    surface.ShowNextPicture();
    EXPECT_EQ(surface.Current(), 3) << "the same picture may come twice";

    surface.SetPictures(0, Unassigned());
    PlayEffects effects = surface.ShowNextPicture();
    EXPECT_EQ(surface.Current(), -1);
    EXPECT_EQ(effects.timer, PlayEffects::Timer::kStart);
    EXPECT_EQ(surface.Paint(kClient).kind, PaintPlan::Kind::kNoPictures);
    EXPECT_EQ(surface.Paint(kClient).kind, PaintPlan::Kind::kInvitation);
    EXPECT_EQ(surface.OnTimer(kClient).repaint, PlayEffects::Repaint::kNone);
}

TEST_F(PlaySurfaceTest, SoundFollowsTheAssignmentAndTheSoundSetting) {
    std::array<int, kPictureSlots> sounds = Unassigned();
    sounds[0] = 2;
    settings.m_nSound = 0;
    settings.m_nMouse = 1;
    Start(2, sounds);
    surface.SetSoundCount(5);
    EXPECT_EQ(surface.ShowNextPicture().sound, 2) << "an assigned sound plays with sound off";
    EXPECT_EQ(surface.OnRButtonUp().sound, -1) << "the right button plays only with sound on";
    surface.OnRButtonUp();
    EXPECT_EQ(surface.ShowNextPicture().sound, -1) << "no random sound with sound off";

    settings.m_nSound = 1;
    Apply();
    random.values = {ValueFor(4, 5)};
    EXPECT_EQ(surface.ShowNextPicture().sound, 2);
    EXPECT_EQ(surface.OnRButtonUp().sound, 2);
    surface.OnRButtonUp();
    EXPECT_EQ(surface.ShowNextPicture().sound, 4);

    surface.SetSoundCount(0);
    EXPECT_EQ(surface.ShowNextPicture().sound, 2);
    EXPECT_EQ(surface.ShowNextPicture().sound, -1) << "no sound files, nothing to play";
}

TEST_F(PlaySurfaceTest, MouseMovesTheCentrePausesReversesAndShrinks) {
    settings.m_nMouse = 0;
    Start(1);
    EXPECT_EQ(surface.OnMouseMove(10, 20, kClient).repaint, PlayEffects::Repaint::kNone);
    EXPECT_EQ(surface.CenterX(), 400) << "the mouse does not play when it is off";
    EXPECT_EQ(surface.OnLButtonUp().timer, PlayEffects::Timer::kKeep);

    settings.m_nMouse = 1;
    Apply();
    surface.OnMouseMove(100, 120, kClient);
    EXPECT_EQ(surface.CenterX(), 100);
    EXPECT_EQ(surface.CenterY(), 120);
    EXPECT_EQ(surface.OnRButtonUp().timer, PlayEffects::Timer::kKeep) << "nothing current";

    surface.OnLButtonUp();
    ASSERT_EQ(surface.Current(), 0);
    for (int i = 0; i < 20; ++i) {
        surface.OnTimer(kClient);
    }
    const int half = surface.HalfWidth();
    Rect before;
    ASSERT_TRUE(surface.PictureRect(before));

    // A move grows one step and repaints old and new place together.
    PlayEffects move = surface.OnMouseMove(300, 320, kClient);
    EXPECT_GT(surface.HalfWidth(), half);
    EXPECT_EQ(surface.LastRect(), before);
    Rect after;
    ASSERT_TRUE(surface.PictureRect(after));
    EXPECT_EQ(move.rect, Union(before, after));

    // Pause, then resume shrinking down to below 2, then grow again until held.
    EXPECT_EQ(surface.OnRButtonUp().timer, PlayEffects::Timer::kStop);
    EXPECT_FALSE(surface.IsAnimating());
    EXPECT_EQ(surface.OnRButtonUp().timer, PlayEffects::Timer::kStart);
    EXPECT_EQ(surface.Direction(), -1);
    int ticks = 0;
    while (surface.Direction() < 0 && ticks++ < 1000) {
        surface.OnTimer(kClient);
    }
    EXPECT_LT(surface.HalfWidth(), 2);
    while (surface.IsAnimating() && ticks++ < 2000) {
        surface.OnTimer(kClient);
    }
    EXPECT_GT(2 * surface.HalfWidth(), kClient.Width());

    // A new picture while shrinking keeps the direction: zero at the first tick, then grows.
    surface.OnRButtonUp();  // held -> running, reversed to shrinking
    ASSERT_EQ(surface.Direction(), -1);
    surface.ShowNextPicture();
    surface.OnTimer(kClient);
    EXPECT_EQ(surface.HalfWidth(), 0);
    surface.OnTimer(kClient);
    EXPECT_EQ(surface.HalfWidth(), 1);
    EXPECT_EQ(surface.Direction(), +1);
}

TEST_F(PlaySurfaceTest, PaintShowsOneThingAndCleansOnlyInsideTheLastRectangle) {
    Start(1);
    surface.ShowNextPicture();
    PaintPlan picture = surface.Paint(kClient);
    ASSERT_EQ(picture.kind, PaintPlan::Kind::kPicture);
    EXPECT_EQ(picture.picture, (Rect{399, 300, 401, 300}));
    ASSERT_EQ(picture.stripCount, 4);
    const Rect strips[] = {
        {0, 0, 399, 600}, {0, 0, 800, 300}, {401, 0, 800, 600}, {0, 300, 800, 600}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(picture.strips[i], strips[i]) << i;
    }

    // A picture that covers the last rectangle leaves nothing to clean.
    surface.SetLastRect({399, 300, 401, 300});
    EXPECT_EQ(surface.Paint(kClient).stripCount, 0);
}

TEST_F(PlaySurfaceTest, KeysSwitchTheGuardModeOncePerPressAndChooseTheNextPicture) {
    constexpr unsigned kDelete = 0x2E;
    struct Case {
        const char* what;
        KeyPress press;
        bool guarded;
        KeyAnswer answer;
    };
    const Case cases[] = {
        {"a letter", {'A', false, false, false, false}, false, {false, true}},
        {"a held letter", {'A', false, false, false, true}, true, {false, false}},
        {"Delete", {kDelete, false, false, false, false}, true, {false, true}},
        {"Ctrl+Del", {kDelete, true, false, false, false}, true, {false, true}},
        {"Shift+Del", {kDelete, false, true, false, false}, true, {false, true}},
        {"Ctrl+Shift+Alt+Del", {kDelete, true, true, true, false}, true, {false, true}},
        {"Ctrl+Shift+D", {'D', true, true, false, false}, true, {false, true}},
        // Entering shows only the exit hint; leaving shows a picture as well.
        {"Ctrl+Shift+Del entering", {kDelete, true, true, false, false}, false, {true, false}},
        {"Ctrl+Shift+Del leaving", {kDelete, true, true, false, false}, true, {true, true}},
        {"Ctrl+Shift+Del held", {kDelete, true, true, false, true}, true, {false, false}},
    };
    Start(1);
    for (const Case& c : cases) {
        c.guarded ? (void)surface.EnterGuardMode() : surface.LeaveGuardMode();
        const KeyAnswer answer = surface.OnKeyDown(c.press);
        EXPECT_EQ(answer.toggleGuardMode, c.answer.toggleGuardMode) << c.what;
        EXPECT_EQ(answer.nextPicture, c.answer.nextPicture) << c.what;
    }
}

TEST_F(PlaySurfaceTest, TheExitHintStaysUntilTheNextPictureIsAskedFor) {
    settings.m_nMouse = 1;
    Start(1);
    surface.ShowNextPicture();
    EXPECT_EQ(surface.EnterGuardMode().timer, PlayEffects::Timer::kStop);
    EXPECT_FALSE(surface.IsAnimating());
    // Whatever repaints meanwhile: a picture load's progress, a pointer, a restyled frame.
    for (int paint = 0; paint < 3; ++paint) {
        surface.OnMouseMove(100 + paint, 100, kClient);
        PaintPlan hint = surface.Paint(kClient);
        EXPECT_EQ(hint.kind, PaintPlan::Kind::kExitHint);
        EXPECT_EQ(hint.textX, 30);
    }
    surface.ShowNextPicture();
    EXPECT_EQ(surface.Paint(kClient).kind, PaintPlan::Kind::kPicture);
    surface.EnterGuardMode();
    surface.LeaveGuardMode();
    EXPECT_EQ(surface.Paint(kClient).kind, PaintPlan::Kind::kPicture);
}

TEST_F(PlaySurfaceTest, TextsAndTheirOffsetsGrowWithTheMonitorsDpi) {
    settings.m_nDisplayOrder = 0;
    Start(0);
    struct Expected {
        int dpi, textX, textY, height, width;
    };
    // 96 DPI keeps the drawn layout; 120 and 144 round halves away from zero; a DPI the
    // system cannot have falls back to 96.
    for (const Expected& e : {Expected{96, 200, 275, 25, 13}, Expected{120, 150, 269, 31, 16},
                              Expected{144, 100, 262, 38, 20}, Expected{192, 0, 250, 50, 26},
                              Expected{0, 200, 275, 25, 13}}) {
        surface.SetDpi(e.dpi);
        const PaintPlan plan = surface.Paint(kClient);
        ASSERT_EQ(plan.kind, PaintPlan::Kind::kInvitation);
        EXPECT_EQ(plan.textX, e.textX) << e.dpi;
        EXPECT_EQ(plan.textY, e.textY) << e.dpi;
        EXPECT_EQ(plan.textHeight, e.height) << e.dpi;
        EXPECT_EQ(plan.textWidth, e.width) << e.dpi;
    }
    // The exit hint's larger offset scales the same way.
    surface.SetDpi(144);
    surface.EnterGuardMode();
    EXPECT_EQ(surface.Paint(kClient).textX, 400 - 555);
}

}  // namespace
}  // namespace zz
