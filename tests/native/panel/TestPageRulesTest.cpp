// The test page's sensitivity clicks, its indicators, and the pages' motor bytes.
#include <gtest/gtest.h>

#include "panel/pages/MotorLevels.h"
#include "panel/pages/TestPageRules.h"

namespace {

using namespace padpanel;

TEST(SensitivityClick, TheUpperThirdChoosesTwoTheMiddleOneTheLowerZeroAndTheTopEdgeOne) {
    // The sensitivity gauge spans y 250..283.
    EXPECT_EQ(SensitivityLevelAt(250, 283, 250), 1);
    EXPECT_EQ(SensitivityLevelAt(250, 283, 251), 2);
    EXPECT_EQ(SensitivityLevelAt(250, 283, 261), 2);
    EXPECT_EQ(SensitivityLevelAt(250, 283, 262), 1);
    EXPECT_EQ(SensitivityLevelAt(250, 283, 272), 1);
    EXPECT_EQ(SensitivityLevelAt(250, 283, 273), 0);
    EXPECT_EQ(SensitivityLevelAt(250, 283, 282), 0);
    EXPECT_EQ(SensitivityGaugeLevel(0), 85u);
    EXPECT_EQ(SensitivityGaugeLevel(2), 255u);
}

TEST(Indicator, APlainButtonLightsAndSoundsOnceWhenPressedAndGoesDarkWhenReleased) {
    uint32_t tick = 0;
    IndicatorStep s = StepIndicator(false, 0x80, 0, tick, 1000);
    EXPECT_TRUE(s.Change && s.Sound);
    EXPECT_EQ(s.Lit, 0x80u);
    s = StepIndicator(false, 0x80, 0x80, tick, 1010);
    EXPECT_FALSE(s.Change || s.Sound) << "held: no new sound every tick";
    s = StepIndicator(false, 0, 0x80, tick, 1020);
    EXPECT_TRUE(s.Change && !s.Sound);
    EXPECT_EQ(tick, 0u) << "a plain button never starts a blink";
}

TEST(Indicator, AHeldTurboButtonBlinksEvery100MsSoundingOnEachLitPhaseAndRestartsAfterRelease) {
    uint32_t tick = 0, lit = 0, sounds = 0, changes = 0;
    // 10 ms ticks for one second with the button held.
    for (uint32_t now = 5000; now < 6000; now += 10) {
        const IndicatorStep s = StepIndicator(true, 1, lit, tick, now);
        if (s.Change) {
            lit = s.Lit;
            ++changes;
        }
        sounds += s.Sound;
    }
    EXPECT_EQ(changes, 9u) << "a change at every full 100 ms after the first tick";
    EXPECT_EQ(sounds, 5u) << "one sound each time it lights";
    const IndicatorStep released = StepIndicator(true, 0, 1, tick, 6000);
    EXPECT_TRUE(released.Change);
    EXPECT_EQ(released.Lit, 0u);
    EXPECT_EQ(tick, 0u);
    StepIndicator(true, 0, 0, tick, 6010);
    EXPECT_EQ(tick, 6010u) << "the blink restarts from the next tick";
}

TEST(MotorBytes, TheConstantLevelFollowsTheStrengthAndAStopIsAllZero) {
    for (auto [strength, level] : {std::pair{2u, 10}, {63u, 15}, {255u, 31}, {1000u, 31}}) {
        MotorRequest both;
        both.Strength = strength;
        both.LeftLevel = both.RightLevel = -1;
        both.AutoDown = true;
        EXPECT_EQ(MotorReportBytes(both), (MotorBytes{0, uint8_t(level), uint8_t(level), 0})) << strength;
    }
    MotorRequest stop;
    stop.Strength = 255;
    stop.LeftDown = stop.RightDown = true;
    EXPECT_TRUE(AllZero(MotorReportBytes(stop)));
    MotorRequest leftOff;
    leftOff.Strength = 63;
    leftOff.LeftOff = true;
    EXPECT_EQ(MotorReportBytes(leftOff), (MotorBytes{0, 0, 15, 0}));
}

}  // namespace
