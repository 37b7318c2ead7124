#include "view/play_surface.h"

#include <gtest/gtest.h>

#include <climits>
#include <deque>
#include <map>
#include <vector>

namespace zz {
namespace {

constexpr Rect kClient{0, 0, 800, 600};
constexpr unsigned kDelete = 0x2E;

class PlaySurfaceTest : public ::testing::Test, IPictureSizes, IRandomSource {
protected:
    PlaySurfaceTest() { settings.displayOrder = DisplayOrder::kStored; }

    bool GetPictureSize(int slot, int& width, int& height) const override {
        const auto it = sizes.find(slot);
        return it != sizes.end() && (std::tie(width, height) = it->second, true);
    }
    // The generator's values as queued, then 0.
    int Next() override {
        const int value = picks.empty() ? 0 : picks.front();
        picks.empty() ? void() : picks.pop_front();
        return value;
    }

    // count slots of 400x200 pictures, the sounds assigned to some of them.
    void Start(int count, const std::map<int, int>& assigned = {}) {
        std::array<int, kPictureSlots> sounds;
        sounds.fill(-1);
        for (int slot = 0; slot < count; ++slot) {
            sizes[slot] = {400, 200};
            sounds[slot] = assigned.contains(slot) ? assigned.at(slot) : -1;
        }
        surface.ApplySettings(settings, kClient);
        surface.SetPictures(count, sounds);
        surface.SetLastRect(kClient);
        surface.SetSoundCount(5);
    }
    // The half widths of up to `ticks` ticks, and how many of them stopped the timer.
    std::vector<int> Halves(int ticks, const Rect& client = kClient) {
        std::vector<int> halves{surface.HalfWidth()};
        for (int i = 0; i < ticks && surface.IsAnimating(); ++i) {
            stops += surface.OnTimer(client).timer == PlayEffects::Timer::kStop;
            halves.push_back(surface.HalfWidth());
        }
        return halves;
    }
    std::vector<int> Next(int keys, bool sounds = false) {
        std::vector<int> shown;
        for (int i = 0; i < keys; ++i) {
            const int sound = surface.ShowNextPicture().sound;
            shown.push_back(sounds ? sound : surface.Current());
        }
        return shown;
    }

    Settings settings = DefaultSettings();
    std::map<int, std::pair<int, int>> sizes;
    std::deque<int> picks;
    int stops = 0;
    PlaySurface surface{*this, *this};
};

// 10 % of the half width a tick, one pixel at least, until the width passes the maximum.
TEST_F(PlaySurfaceTest, GrowthIsGeometricWithAOnePixelFloorAndStopsPastTheMaximum) {
    Start(1);
    surface.ShowNextPicture();
    EXPECT_EQ(Halves(1000), (std::vector<int>{1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,
                                              12,  13,  14,  15,  16,  17,  18,  19,  20,  22,  24,
                                              26,  28,  30,  33,  36,  39,  42,  46,  50,  55,  60,
                                              66,  72,  79,  86,  94,  103, 113, 124, 136, 149, 163,
                                              179, 196, 215, 236, 259, 284, 312, 343, 377, 414}));
    EXPECT_EQ(stops, 1);
    const PaintPlan plan = surface.Paint(kClient);
    EXPECT_EQ(std::tuple(plan.kind, plan.slot, plan.picture, plan.stripCount),
              std::tuple(PaintPlan::Kind::kPicture, 0, Rect{-14, 93, 814, 507}, 2));
    surface.SetLastRect(plan.picture);  // drawn over itself: nothing to clean
    EXPECT_EQ(surface.Paint(kClient).stripCount, 0);
    settings.maxZoom = 10;  // of 1000: a width of 100 is not past it yet
    Start(1);
    surface.ShowNextPicture();
    EXPECT_EQ(Halves(1000, {0, 0, 1000, 600}).back(), 55);
}

// The right button pauses, then runs the picture the other way: it shrinks by the growth rule
// and turns to grow once it is narrower than 2; the mouse moves the centre.
TEST_F(PlaySurfaceTest, TheMousePlaysOnlyWhenSetAndAShrinkingPictureTurnsBelowTwo) {
    Start(1);  // with the mouse off neither a move nor a click plays
    surface.OnMouseMove(10, 20, kClient);
    surface.OnLButtonUp();
    EXPECT_EQ(std::pair(surface.Current(), surface.CenterX()), std::pair(-1, 400));
    settings.mouse = OnOff{2};  // any value but 0 plays
    Start(1);
    surface.OnMouseMove(100, 120, kClient);
    EXPECT_EQ(std::pair(surface.CenterX(), surface.CenterY()), std::pair(100, 120));
    EXPECT_EQ(surface.OnRButtonUp().timer, PlayEffects::Timer::kKeep);  // nothing current
    surface.OnLButtonUp();
    Halves(12);
    surface.OnMouseMove(300, 320, kClient);  // a move while growing is a step too
    EXPECT_EQ(surface.HalfWidth(), 14);
    EXPECT_EQ(surface.OnRButtonUp().timer, PlayEffects::Timer::kStop);
    EXPECT_EQ(surface.OnRButtonUp().timer, PlayEffects::Timer::kStart);
    EXPECT_EQ(Halves(16),
              (std::vector<int>{14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 2, 3, 4}));
    surface.OnRButtonUp();
    surface.OnRButtonUp();
    surface.ShowNextPicture();  // keeps the direction: zero at the first tick, then grows
    EXPECT_EQ(Halves(2), (std::vector<int>{1, 0, 1}));
}

// Whatever the file holds: no overflow (the sanitized tree stops at any), a growth that ends
// and a picture a window can draw; mouse messages reach at most 16 bits.
TEST_F(PlaySurfaceTest, SettingsAtTheLimitsOfIntKeepThePictureInRange) {
    settings.mouse = OnOff::kOn;
    for (const int limit : {INT_MIN, -1, 0, INT_MAX}) {
        std::tie(settings.growth, settings.maxZoom, settings.speed) =
            std::tuple(limit, limit, limit);
        Start(1);
        sizes[0] = {4000, 3000};
        for (int key = 0; key < 20; ++key) {
            surface.ShowNextPicture();
            surface.OnMouseMove(key % 2 == 0 ? SHRT_MAX : SHRT_MIN, SHRT_MIN, kClient);
            for (int tick = 0; tick < 200 && surface.IsAnimating(); ++tick) {
                surface.OnTimer(kClient);
                Rect rect;
                ASSERT_TRUE(surface.PictureRect(rect));
                ASSERT_TRUE(rect.left <= rect.right && rect.top <= rect.bottom &&
                            surface.HalfWidth() >= 0);
            }
            ASSERT_FALSE(surface.IsAnimating()) << limit;
            surface.OnRButtonUp();
            surface.OnTimer(kClient);
        }
    }
    sizes[0] = {0, 50};
    EXPECT_EQ(surface.Paint(kClient).kind, PaintPlan::Kind::kNothing);
}

TEST_F(PlaySurfaceTest, PicturesComeInTurnSkippingEmptySlotsOrAtRandom) {
    Start(3);
    EXPECT_EQ(Next(5), (std::vector<int>{0, 1, 2, 0, 1}));
    sizes.erase(1);  // a listed file that was missing: slot 2 must still come
    EXPECT_EQ(Next(3), (std::vector<int>{2, 0, 2}));
    settings.displayOrder = DisplayOrder::kRandom;
    Start(4);
    picks = {32767, 32767, 8191};  // the generator's largest value still picks the last
    EXPECT_EQ(Next(4), (std::vector<int>{3, 3, 0, 0}));  // the same may come twice
    Start(0);
    EXPECT_EQ(Next(1), (std::vector<int>{-1}));
    EXPECT_EQ(surface.Paint(kClient).kind, PaintPlan::Kind::kNoPictures);
    EXPECT_EQ(surface.Paint(kClient).kind, PaintPlan::Kind::kInvitation);  // told once
}

// An assigned sound always plays; a random one only with sound on, and only from sounds there.
TEST_F(PlaySurfaceTest, SoundsFollowTheirAssignmentAndTheSoundSetting) {
    settings.mouse = OnOff::kOn;
    Start(2, {{0, 2}});
    EXPECT_EQ(Next(2, true), (std::vector<int>{2, -1}));
    EXPECT_EQ(surface.OnRButtonUp().sound, -1);
    settings.sound = OnOff{3};
    Start(2, {{0, 2}});
    picks = {32767, 6554};
    std::vector<int> sounds;
    for (int key = 0; key < 2; ++key) {
        sounds.push_back(surface.ShowNextPicture().sound);
        sounds.push_back(surface.OnRButtonUp().sound);
    }
    EXPECT_EQ(sounds, (std::vector<int>{2, 2, 4, 1}));
    surface.SetSoundCount(0);
    EXPECT_EQ(Next(2, true), (std::vector<int>{2, -1}));
}

TEST_F(PlaySurfaceTest, KeysSwitchTheGuardModeOncePerPressAndShowItsExitHintUntilTheNextPicture) {
    // key, ctrl, shift, alt, held; guarded before; switches, asks for the next picture
    const std::tuple<KeyPress, bool, bool, bool> cases[] = {
        {{'A', false, false, false, false}, false, false, true},
        {{'A', false, false, false, true}, true, false, false},
        {{kDelete, true, false, false, false}, true, false, true},
        {{kDelete, false, true, false, false}, true, false, true},
        {{kDelete, true, true, true, false}, true, false, true},
        {{'D', true, true, false, false}, true, false, true},
        {{kDelete, true, true, false, false}, false, true, false},  // entering: the hint alone
        {{kDelete, true, true, false, false}, true, true, true},
        {{kDelete, true, true, false, true}, true, false, false},
    };
    settings.mouse = OnOff::kOn;
    Start(1);
    for (const auto& [press, guarded, toggles, next] : cases) {
        guarded ? (void)surface.EnterGuardMode() : surface.LeaveGuardMode();
        const KeyAnswer answer = surface.OnKeyDown(press);
        EXPECT_EQ(std::tuple(surface.InGuardMode(), answer.toggleGuardMode, answer.nextPicture),
                  std::tuple(guarded, toggles, next))
            << press.key << " " << press.autoRepeat;
    }
    surface.ShowNextPicture();
    EXPECT_EQ(surface.EnterGuardMode().timer, PlayEffects::Timer::kStop);
    surface.OnMouseMove(100, 100, kClient);  // what repaints meanwhile does not end it
    EXPECT_EQ(surface.Paint(kClient).kind, PaintPlan::Kind::kExitHint);
    surface.ShowNextPicture();
    EXPECT_EQ(surface.Paint(kClient).kind, PaintPlan::Kind::kPicture);
}

}  // namespace
}  // namespace zz
