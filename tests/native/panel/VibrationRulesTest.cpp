// The vibration page's clicks and ticks against a recorded view, on a
// simulated clock: the automatic demo, the motor pulses, the stick drive.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "panel/pages/VibrationRules.h"

namespace {

using namespace padpanel;
using C = VibrationControl;

struct Report {
    bool LeftOff, RightOff;
    int32_t Left, Right;
    bool LeftDown, RightDown;  // the motor buttons as the report saw them
    bool operator==(const Report& o) const {
        return LeftOff == o.LeftOff && RightOff == o.RightOff && Left == o.Left && Right == o.Right &&
               LeftDown == o.LeftDown && RightDown == o.RightDown;
    }
};

// The page's controls at their built places, as plain state.
class FakeView final : public VibrationView {
public:
    bool Has(C) const override { return true; }
    bool IsDown(C c) const override { return down_.count(c) && down_.at(c); }
    void SetDown(C c, bool d) override { down_[c] = d; }
    bool Hits(C c, int32_t x, int32_t y) const override {
        const Box r = Rect(c);
        return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
    }
    Box Rect(C c) const override {
        switch (c) {
        case C::Initial: return {126, 177, 199, 198};
        case C::Auto: return {211, 177, 284, 198};
        case C::Manual: return {300, 177, 373, 198};
        case C::Left: return {42, 270, 122, 351};
        case C::Right: return {377, 270, 457, 351};
        case C::StrengthGauge: return {79, 220, 423, 242};
        case C::Arrow: return {79 + arrow, 239, 88 + arrow, 248};
        case C::Ball: return {75 + ball, 71, 96 + ball, 92};
        default: return {};
        }
    }
    void SetStrengthLevel(uint32_t level) override { gauge = level; }
    void MoveArrow(int32_t dx) override { arrow = dx; }
    void MoveBall(int32_t dx) override { ball = dx; }
    void InvalidateWave() override { ++waves; }
    uint32_t CursorValue() const override { return cursor; }
    void MoveCursor(uint32_t h, uint32_t u) override { cursor = h << 16 | u; }
    void Send(bool lo, bool ro, int32_t l, int32_t r) override {
        reports.push_back({lo, ro, l, r, IsDown(C::Left), IsDown(C::Right)});
    }
    void Seed(uint32_t) override {}
    int32_t Random() override { return randoms[next++ % randoms.size()]; }

    uint32_t gauge = 0, cursor = 127u << 16 | 127;
    int32_t arrow = 0, ball = 0;
    int waves = 0;
    std::vector<Report> reports;
    std::vector<int32_t> randoms{16383, 0};  // period 127, strength 0 (raised to 2)
    size_t next = 0;

private:
    std::map<C, bool> down_;
};

class Vibration : public ::testing::Test {
protected:
    VibrationState State() {
        return VibrationState{leftRun,  rightRun, leftStart, rightStart, pause, draggingPower, draggingTime,
                              strength, period,   autoMode,  0x7FFF,     0x7FFF};
    }
    void Click(int32_t x, int32_t y) {
        VibrationState s = State();
        ClickVibrationPage(s, view, x, y, now);
    }
    void Tick(int32_t rawX = 32767, int32_t rawY = 32767) {
        VibrationState s = State();
        TickVibrationPage(s, view, rawX, rawY, now);
    }
    // Ticks every 10 ms for `ms`.
    void Run(uint32_t ms, int32_t rawX = 32767, int32_t rawY = 32767) {
        for (uint32_t end = now + ms; now < end; now += 10) Tick(rawX, rawY);
    }

    FakeView view;
    uint32_t leftRun = 0, rightRun = 0, leftStart = 0, rightStart = 0, strength = 63, period = 63, autoMode = 0;
    uint8_t pause = 0, draggingPower = 0, draggingTime = 0;
    uint32_t now = 100000;
};

TEST_F(Vibration, TheDemoAlternates300MsPausesWithRandomVibrationsAndEndsAfter15Seconds) {
    Click(240, 185);  // Auto
    EXPECT_TRUE(view.IsDown(C::Auto));
    EXPECT_FALSE(view.IsDown(C::Manual));
    EXPECT_TRUE(view.reports.empty()) << "nothing is sent at the click";
    std::vector<uint32_t> phases;  // ms between reports
    uint32_t last = now;
    for (uint32_t end = now + 16000; now < end; now += 10) {
        const size_t before = view.reports.size();
        Tick();
        if (view.reports.size() != before) phases.push_back(now - last), last = now;
    }
    ASSERT_GE(phases.size(), 4u);
    EXPECT_EQ(phases[0], 300u) << "the first pause";
    EXPECT_EQ(phases[1], 1000u) << "a vibration at period 127: 127 x 1000 / 255 + 500";
    EXPECT_EQ(phases[2], 300u);
    EXPECT_EQ(period, 127u);
    EXPECT_EQ(strength, 2u) << "a random strength of 0 is raised to 2";
    EXPECT_EQ(view.reports[0], (Report{false, false, -1, -1, true, true})) << "both motors at the constant level";
    EXPECT_EQ(view.reports[1], (Report{true, true, -1, -1, false, false}));
    EXPECT_EQ(leftRun, 0u) << "the demo ended";
    uint32_t total = 0;
    for (uint32_t p : phases) total += p;
    EXPECT_GE(total, 15000u);
    EXPECT_LT(total, 15010u) << "it ends on the first tick after 15 s";
    const size_t ended = view.reports.size();
    Run(500);
    EXPECT_EQ(view.reports.size(), ended) << "and stays quiet";
}

TEST_F(Vibration, AMotorPulseLastsItsRunTimeWhileTheStickRestsAndTheButtonsWaitForManual) {
    Click(330, 185);  // Manual
    Tick();           // the cursor follows the resting stick
    Click(240, 185);  // Auto
    Click(80, 300);   // the left motor button while Auto is down: nothing
    EXPECT_FALSE(view.IsDown(C::Left));
    Click(330, 185);  // Manual
    EXPECT_EQ(view.reports.back(), (Report{false, false, -1, -1, false, false})) << "Manual sends zeros";
    Click(80, 300);
    EXPECT_TRUE(view.IsDown(C::Left));
    EXPECT_EQ(leftRun, 63u * 1000 / 255 + 500);
    EXPECT_EQ(view.reports.back(), (Report{false, false, -1, -1, true, false})) << "the left motor at g";
    const size_t started = view.reports.size();
    Run(750);
    EXPECT_EQ(view.reports.size(), started) << "still running at 740 ms";
    Run(10);
    ASSERT_EQ(view.reports.size(), started + 1);
    EXPECT_EQ(view.reports.back(), (Report{false, false, -1, -1, false, false})) << "the pulse ends";
    EXPECT_EQ(leftRun, 0u);
}

TEST_F(Vibration, TheStickDrivesTheMotorsOutsideTheDeadZoneOnly) {
    Click(330, 185);  // Manual
    struct Case {
        uint32_t H, U;  // 8-bit stick position
        bool LeftDown, RightDown;
        int32_t Left, Right;
    };
    const Case cases[] = {
        {101, 151, false, false, 0, 0},  // the dead zone's edges: no drive
        {100, 127, true, false, 2, 0},   // one past the low edge: 1 x 5 / 2
        {127, 152, false, true, 0, 0},   // one past the high edge: 0
        {255, 0, true, true, 257, 252},  // both ways: (255 - 152) x 5 / 2, (101 - 0) x 5 / 2
    };
    for (const Case& c : cases) {
        const size_t before = view.reports.size();
        Tick(static_cast<int32_t>(c.H * 256), static_cast<int32_t>(c.U * 256));
        now += 10;
        EXPECT_EQ(view.cursor, c.H << 16 | c.U) << c.H << "," << c.U;
        if (!c.LeftDown && !c.RightDown) {
            EXPECT_FALSE(view.IsDown(C::Left) || view.IsDown(C::Right));
            continue;
        }
        ASSERT_GT(view.reports.size(), before) << c.H << "," << c.U;
        EXPECT_EQ(view.reports.back(), (Report{false, false, c.Left, c.Right, c.LeftDown, c.RightDown}))
            << c.H << "," << c.U;
    }
    const size_t deflected = view.reports.size();
    Tick(127 * 256, 127 * 256);
    ASSERT_EQ(view.reports.size(), deflected + 1) << "back in the dead zone: one stop";
    EXPECT_EQ(view.reports.back(), (Report{false, false, 0, 0, false, false}));
}

TEST_F(Vibration, ClicksSetStrengthNeverBelowTwoAndTheRhythmFromTheTrack) {
    Click(79, 230);  // the strength gauge's left edge
    EXPECT_EQ(strength, 2u);
    EXPECT_EQ(view.gauge, 2u);
    EXPECT_EQ(view.arrow, 344 * 2 / 255 - 3);
    Click(423 - 1, 230);
    EXPECT_EQ(strength, 254u);
    Click(425, 80);  // the track's right end: clamped to 419
    EXPECT_EQ(period, (419u - 75) * 255 / 356);
    EXPECT_EQ(view.ball, 419 - 86);
    EXPECT_EQ(draggingTime, 1);
    VibrationState s = State();
    ReleaseVibrationPage(s, view, 0);
    EXPECT_EQ(period, (86u - 75) * 255 / 356) << "a release drags to its x first";
    EXPECT_EQ(draggingTime + draggingPower, 0);
    Click(150, 185);  // Initial
    EXPECT_EQ(strength, 189u);
    EXPECT_EQ(period, 63u);
    EXPECT_TRUE(view.IsDown(C::Manual));
    EXPECT_EQ(view.reports.back(), (Report{true, true, -1, -1, false, false}));
}

TEST(Wave, ShorterWavesForLowerRhythmLevelsInsideTheWaveRectangle) {
    for (uint32_t period : {0u, 255u, 1000u}) {
        const std::vector<WavePoint> points = WavePoints(period);
        ASSERT_EQ(points.size(), 172u) << "the start and one point every 2 pixels from 80 to 420";
        EXPECT_EQ(points.front().Y, 133);
        for (const WavePoint& p : points) EXPECT_TRUE(p.Y >= 108 && p.Y <= 158 && p.X < 422) << p.X << "," << p.Y;
    }
    // 0.4 radians a step at 0, 0.2 at 255: the first crest after 4 or 8 steps.
    EXPECT_EQ(WavePoints(0)[4].Y, 133 + static_cast<int32_t>(std::sin(1.6) * 25));
    EXPECT_EQ(WavePoints(255)[8].Y, WavePoints(0)[4].Y);
}

}  // namespace
