#include <gtest/gtest.h>

#include <limits>

#include "EngineHarness.h"

namespace {

using fftest::Download;
using fftest::Engine;
using ff::kConstantForce;

constexpr uint32_t kMs = 1000;  // microseconds

// --- strength, gains and direction ---------------------------------------

TEST(PlaybackStrength, FullConstantForceAtStrength255IsClampedToFullScaleOnMotorOne) {
    Engine e;
    e.settings.MotorPower = 255;  // 7/5
    e.Start(kConstantForce, Download::Constant(10000, ff::kInfinite).Polar(0));
    e.Step();
    EXPECT_EQ(e.motors.Last1, 10000);
    EXPECT_EQ(e.motors.Last2, 0);
}

TEST(PlaybackStrength, WithoutStoredSettingsAFullForceGivesOneFifth) {
    Engine e;
    e.settings = ff::VibrationSettings{};  // the record stayed all zero
    e.Start(kConstantForce, Download::Constant(10000, ff::kInfinite).Polar(0));
    e.Step();
    EXPECT_EQ(e.motors.Last1, 2000);
}

TEST(PlaybackStrength, FactorSteps) {
    // (1 + value * 6 / 255) / 5 at the values the panel uses.
    const std::pair<int32_t, int32_t> cases[] = {{0, 2000}, {42, 2000}, {43, 4000}, {63, 4000},
                                                 {85, 6000}, {170, 10000}, {189, 10000}};
    for (auto [power, expected] : cases) {
        Engine e;
        e.settings.MotorPower = power;
        e.Start(kConstantForce, Download::Constant(10000, ff::kInfinite).Polar(0));
        e.Step();
        EXPECT_EQ(e.motors.Last1, expected) << "MotorPower " << power;
    }
}

TEST(PlaybackDirection, PolarNinetyDegreesDrivesMotorTwoAlone) {
    Engine e;
    e.Start(kConstantForce, Download::Constant(10000, ff::kInfinite).Polar(9000));
    e.Step();
    EXPECT_EQ(e.motors.Last1, 0);
    EXPECT_EQ(e.motors.Last2, 10000);
}

TEST(PlaybackDirection, PolarFortyFiveDegreesSplitsBetweenBothMotors) {
    Engine e;
    e.Start(kConstantForce, Download::Constant(10000, ff::kInfinite).Polar(4500));
    e.Step();
    EXPECT_EQ(e.motors.Last1, 7071);
    EXPECT_EQ(e.motors.Last2, 7071);
}

TEST(PlaybackDirection, PolarQuadrantsAlternateTheMotors) {
    const int32_t s = 10000;
    EXPECT_EQ(ff::SplitDirection(s, ff::kCoordPolar, std::array<int32_t, 4>{18000}.data(), 2).S1, s);
    EXPECT_EQ(ff::SplitDirection(s, ff::kCoordPolar, std::array<int32_t, 4>{27000}.data(), 2).S2, s);
    EXPECT_EQ(ff::SplitDirection(s, ff::kCoordPolar, std::array<int32_t, 4>{36000}.data(), 2).S1, s)
        << "a full turn is the same as 0 degrees";
    const ff::MotorShares at30 = ff::SplitDirection(s, ff::kCoordPolar, std::array<int32_t, 4>{3000}.data(), 2);
    EXPECT_EQ(at30.S1, 8660);
    EXPECT_EQ(at30.S2, 4999);  // 10000 * sin(30 degrees), truncated
}

TEST(PlaybackDirection, NegativePolarDirectionMovesNothing) {
    Engine e;
    e.Start(kConstantForce, Download::Constant(10000, ff::kInfinite).Polar(-9000));
    e.Run(3);
    EXPECT_EQ(e.motors.Last1, 0);
    EXPECT_EQ(e.motors.Last2, 0);
}

TEST(PlaybackDirection, CartesianDirectionSharesTheLevelByAxisWeights) {
    const int32_t xy[4] = {1, 3};
    const ff::MotorShares s = ff::SplitDirection(8000, ff::kCoordCartesian, xy, 2);
    EXPECT_EQ(s.S1, 2000);
    EXPECT_EQ(s.S2, 6000);
    const int32_t balanced[4] = {5, -5};
    EXPECT_EQ(ff::SplitDirection(8000, ff::kCoordCartesian, balanced, 2).S1, 8000) << "X + Y = 0 drives both fully";
    EXPECT_EQ(ff::SplitDirection(8000, ff::kCoordCartesian, xy, 1).S2, 8000) << "one axis drives both";
    EXPECT_EQ(ff::SplitDirection(8000, 0, xy, 2).S1, 8000) << "no coordinate flag drives both";
}

TEST(PlaybackGain, EffectGainAndDeviceGainBothScaleTheLevel) {
    Engine e;
    e.gain = 5000;
    e.Start(kConstantForce, Download::Constant(10000, ff::kInfinite).Polar(0).Gain(5000));
    e.Step();
    EXPECT_EQ(e.motors.Last1, 2500);
}

TEST(PlaybackGain, DeviceGainZeroMovesNothingAndRepeatsOnlyTheAllOffReport) {
    Engine e;
    e.gain = 0;
    e.Start(kConstantForce, Download::Constant(10000, ff::kInfinite).Polar(0));
    e.Run(50);
    ASSERT_EQ(e.sink.sent.size(), 5u) << "five repeats of the all-off report on a fresh module, then silence";
    for (const auto& r : e.sink.sent) EXPECT_EQ(r.Level1 | r.Level2, 0);
}

TEST(PlaybackSum, SharesOfAllEffectsAddUpAndClampAtFullScale) {
    Engine e;
    e.Start(kConstantForce, Download::Constant(6000, ff::kInfinite).Polar(0));
    e.Start(kConstantForce, Download::Constant(6000, ff::kInfinite).Polar(0));
    e.Step();
    EXPECT_EQ(e.motors.Last1, 10000);
}

TEST(PlaybackSum, NegativeMagnitudeVibratesLikeAPositiveOne) {
    Engine e;
    e.Start(kConstantForce, Download::Constant(-3000, ff::kInfinite).Polar(0));
    e.Step();
    EXPECT_EQ(e.motors.Last1, 3000);
}

// --- timeline --------------------------------------------------------------

TEST(PlaybackTimeline, ThousandMillisecondEffectEndsWithAllOffAndReadsBackStopped) {
    Engine e;
    const uint32_t start = e.clock.now;
    const uint32_t h = e.Start(kConstantForce, Download::Constant(5000, 1000 * kMs).Polar(0));
    e.Run(1001);
    EXPECT_EQ(e.store.State(h), ff::PlayState::Playing) << "sustain lasts through 1000 ms";
    e.Run(1);
    EXPECT_EQ(e.store.State(h), ff::PlayState::Stopped);
    ASSERT_GE(e.sink.sent.size(), 2u);
    EXPECT_EQ(e.sink.sent[0].At, start);
    EXPECT_EQ(e.sink.sent[0].Level1, 5000);
    EXPECT_EQ(e.sink.sent[1].At, start + 1001);
    EXPECT_EQ(e.sink.sent[1].Level1, 0);
}

TEST(PlaybackTimeline, AttackRisesLinearlyThenSustainsForTheFullDurationThenFades) {
    Engine e;
    const uint32_t start = e.clock.now;
    e.Start(kConstantForce,
            Download::Constant(8000, 1000 * kMs).Polar(0).Envelope(0, 500 * kMs, 2000, 200 * kMs));
    EXPECT_EQ(e.LevelsAt(start, 0).first, 0);
    EXPECT_EQ(e.LevelsAt(start, 250).first, 4000);
    EXPECT_EQ(e.LevelsAt(start, 500).first, 8000);
    EXPECT_EQ(e.LevelsAt(start, 1500).first, 8000) << "sustain lasts the whole duration after the attack";
    EXPECT_EQ(e.LevelsAt(start, 1600).first, 5000) << "halfway through the fade from 8000 to 2000";
    EXPECT_EQ(e.LevelsAt(start, 1700).first, 0) << "the effect has ended";
}

TEST(PlaybackTimeline, StartDelayHoldsTheEffectBackAndShiftsItsTime) {
    Engine e;
    const uint32_t start = e.clock.now;
    const uint32_t h = e.Start(kConstantForce, Download::Constant(5000, 100 * kMs).Polar(0).StartDelay(300 * kMs));
    EXPECT_EQ(e.LevelsAt(start, 299).first, 0);
    EXPECT_EQ(e.LevelsAt(start, 300).first, 5000);
    EXPECT_EQ(e.LevelsAt(start, 400).first, 5000);
    e.LevelsAt(start, 401);
    EXPECT_EQ(e.store.State(h), ff::PlayState::Stopped);
}

TEST(PlaybackTimeline, InfiniteDurationPlaysUntilStopped) {
    Engine e;
    const uint32_t h = e.Start(kConstantForce, Download::Constant(5000, ff::kInfinite).Polar(0));
    e.Run(100000);
    EXPECT_EQ(e.store.State(h), ff::PlayState::Playing);
    EXPECT_EQ(e.motors.Last1, 5000);
}

TEST(PlaybackTimeline, ElapsedTimeSurvivesTheTickCounterWrapping) {
    Engine e;
    e.clock.now = 0xFFFFFF00u;
    const uint32_t h = e.Start(kConstantForce, Download::Constant(5000, 1000 * kMs).Polar(0));
    e.Run(600);  // crosses zero
    EXPECT_EQ(e.store.State(h), ff::PlayState::Playing);
    e.Run(402);
    EXPECT_EQ(e.store.State(h), ff::PlayState::Stopped);
}

// --- ramp and periodic kinds -----------------------------------------------

TEST(PlaybackRamp, FallingRampIsNormalisedToAFallToZero) {
    Engine e;
    const uint32_t start = e.clock.now;
    e.Start(ff::kRampForce, Download::Ramp(8000, 2000, 1000 * kMs).Polar(0));
    EXPECT_EQ(e.LevelsAt(start, 0).first, 6000);
    EXPECT_EQ(e.LevelsAt(start, 500).first, 3000);
    EXPECT_EQ(e.LevelsAt(start, 1000).first, 0);
}

TEST(PlaybackRamp, RisingRampIsLimitedToFullScale) {
    Engine e;
    const uint32_t start = e.clock.now;
    e.Start(ff::kRampForce, Download::Ramp(-10000, 10000, 1000 * kMs).Polar(0));
    EXPECT_EQ(e.LevelsAt(start, 500).first, 5000) << "a rise of 20000 is limited to 0..10000";
    EXPECT_EQ(e.LevelsAt(start, 1000).first, 10000);
}

TEST(PlaybackRamp, EndlessRampGivesNoOutputAndKeepsPlaying) {
    Engine e;
    const uint32_t h = e.Start(ff::kRampForce, Download::Ramp(0, 10000, ff::kInfinite).Polar(0));
    e.Run(100);
    EXPECT_EQ(e.motors.Last1, 0);
    EXPECT_EQ(e.store.State(h), ff::PlayState::Playing);
}

// Times at which motor 1 switches on or off during the first `ms` milliseconds.
std::vector<uint32_t> Edges(Engine& e, uint32_t start, uint32_t ms) {
    std::vector<uint32_t> edges;
    int32_t last = 0;
    for (uint32_t t = 0; t < ms; ++t) {
        const int32_t level = e.LevelsAt(start, t).first;
        if ((level != 0) != (last != 0)) edges.push_back(t);
        last = level;
    }
    return edges;
}

TEST(PlaybackPeriodic, SquareAtTimeCycle170IsFiftyMillisecondsOnAndFiftyOff) {
    Engine e;
    e.settings.TimeCycle = 170;  // k = 3: the effect's own period
    const uint32_t start = e.clock.now;
    e.Start(ff::kSquare, Download::Periodic(10000, 0, 0, 100 * kMs, ff::kInfinite).Polar(0));
    EXPECT_EQ(Edges(e, start, 300), (std::vector<uint32_t>{0, 50, 100, 150, 200, 250}));
}

TEST(PlaybackPeriodic, SquareAtTimeCycleZeroRunsAtAThirdOfItsPeriod) {
    Engine e;
    e.settings.TimeCycle = 0;  // k = 1: Tms 33, on for 16
    const uint32_t start = e.clock.now;
    e.Start(ff::kSquare, Download::Periodic(10000, 0, 0, 100 * kMs, ff::kInfinite).Polar(0));
    EXPECT_EQ(Edges(e, start, 70), (std::vector<uint32_t>{0, 16, 33, 49, 66}));
}

TEST(PlaybackPeriodic, TimeCycle255StretchesThePeriodByFourThirdsAndLevelsAboveCountAs255) {
    for (uint32_t level : {255u, 256u, 0x10000u, 0xFFFFFFFFu}) {
        Engine e;
        e.settings.TimeCycle = level;  // k = 4: Tms 133, H 66
        const uint32_t start = e.clock.now;
        e.Start(ff::kSquare, Download::Periodic(10000, 0, 0, 100 * kMs, ff::kInfinite).Polar(0));
        EXPECT_EQ(Edges(e, start, 140), (std::vector<uint32_t>{0, 66, 133})) << level;
    }
    // The longest period a game can name, at the largest magnitude, on every wave.
    for (uint32_t kind : {4u, 5u, 6u}) {
        Engine top, beyond;
        top.settings.TimeCycle = 255;
        beyond.settings.TimeCycle = 0xFFFFFFFFu;
        for (Engine* e : {&top, &beyond}) {
            e->Start(kind, Download::Periodic(0xFFFFFFFFu, 0, 35999, 0xFFFFFFFEu, ff::kInfinite).Polar(0));
            e->Run(1000);
        }
        EXPECT_EQ(beyond.motors.Last1, top.motors.Last1) << kind;
        EXPECT_EQ(beyond.sink.sent.size(), top.sink.sent.size()) << kind;
    }
}

TEST(PlaybackPeriodic, AutoModeDrawsThePeriodFactorAndIgnoresTimeCycle) {
    Engine e;
    e.settings.TimeCycle = 255;
    e.settings.AutoMode = 1;
    e.random.value = 0;  // k = 1
    const uint32_t start = e.clock.now;
    e.Start(ff::kSquare, Download::Periodic(10000, 0, 0, 100 * kMs, ff::kInfinite).Polar(0));
    EXPECT_EQ(Edges(e, start, 40), (std::vector<uint32_t>{0, 16, 33}));
    Engine top;
    top.settings.AutoMode = 1;
    top.random.value = 32767;  // k = 4 only for the largest draw
    const uint32_t s2 = top.clock.now;
    top.Start(ff::kSquare, Download::Periodic(10000, 0, 0, 100 * kMs, ff::kInfinite).Polar(0));
    EXPECT_EQ(Edges(top, s2, 140), (std::vector<uint32_t>{0, 66, 133}));
}

TEST(PlaybackPeriodic, PeriodBelowOneMillisecondHoldsMagnitudePlusOffset) {
    Engine e;
    const uint32_t start = e.clock.now;
    e.Start(ff::kSine, Download::Periodic(3000, 1000, 0, 999, ff::kInfinite).Polar(0));
    for (uint32_t t : {0u, 1u, 7u, 50u}) EXPECT_EQ(e.LevelsAt(start, t).first, 4000) << "at " << t << " ms";
}

TEST(PlaybackPeriodic, SineFollowsItsQuarterPointsAndPhase) {
    Engine e;
    e.settings.TimeCycle = 170;
    const uint32_t start = e.clock.now;
    e.Start(ff::kSine, Download::Periodic(10000, 0, 0, 360 * kMs, ff::kInfinite).Polar(0));
    EXPECT_EQ(e.LevelsAt(start, 0).first, 0);
    EXPECT_EQ(e.LevelsAt(start, 30).first, 4999) << "sin 30 degrees with the driver's pi, truncated";
    EXPECT_EQ(e.LevelsAt(start, 90).first, 10000);
    EXPECT_EQ(e.LevelsAt(start, 270).first, 10000) << "the negative half vibrates too";
    Engine shifted;
    shifted.settings.TimeCycle = 170;
    const uint32_t s2 = shifted.clock.now;
    shifted.Start(ff::kSine, Download::Periodic(10000, 0, 9000, 360 * kMs, ff::kInfinite).Polar(0));
    EXPECT_EQ(shifted.LevelsAt(s2, 0).first, 10000) << "a 90 degree phase starts at the peak";
}

TEST(PlaybackPeriodic, TriangleRisesOverHalfThePeriodAndFallsOverTheOther) {
    Engine e;
    e.settings.TimeCycle = 170;
    const uint32_t start = e.clock.now;
    e.Start(ff::kTriangle, Download::Periodic(10000, 0, 0, 100 * kMs, ff::kInfinite).Polar(0));
    EXPECT_EQ(e.LevelsAt(start, 25).first, 5000);
    EXPECT_EQ(e.LevelsAt(start, 50).first, 10000);
    EXPECT_EQ(e.LevelsAt(start, 75).first, 5000);
}

TEST(PlaybackPeriodic, SawtoothsMakeTwoTeethPerPeriod) {
    Engine up;
    up.settings.TimeCycle = 170;
    const uint32_t s1 = up.clock.now;
    up.Start(ff::kSawtoothUp, Download::Periodic(10000, 0, 0, 100 * kMs, ff::kInfinite).Polar(0));
    EXPECT_EQ(up.LevelsAt(s1, 25).first, 5000);
    EXPECT_EQ(up.LevelsAt(s1, 75).first, 5000) << "the second tooth of the period";
    Engine down;
    down.settings.TimeCycle = 170;
    const uint32_t s2 = down.clock.now;
    down.Start(ff::kSawtoothDown, Download::Periodic(10000, 0, 0, 100 * kMs, ff::kInfinite).Polar(0));
    EXPECT_EQ(down.LevelsAt(s2, 10).first, 8000);
    EXPECT_EQ(down.LevelsAt(s2, 60).first, 8000);
}

// --- kinds without output ------------------------------------------------

TEST(PlaybackKinds, IdsSevenToElevenStopAtOnceWithoutOutput) {
    for (uint32_t id = 7; id <= 11; ++id) {
        Engine e;
        const uint32_t h = e.Start(id, Download::Constant(10000, ff::kInfinite).Polar(0));
        e.Step();
        EXPECT_EQ(e.store.State(h), ff::PlayState::Stopped) << "id " << id;
        EXPECT_EQ(e.motors.Last1, 0);
    }
}

TEST(PlaybackKinds, IdsTwelveAndAbovePlaySilently) {
    Engine e;
    const uint32_t h = e.Start(12, Download::Constant(10000, 1 * kMs).Polar(0));
    e.Run(100);
    EXPECT_EQ(e.store.State(h), ff::PlayState::Playing);
    EXPECT_EQ(e.motors.Last1, 0);
}

// --- the report rule ------------------------------------------------------

TEST(PlaybackReports, ChangeToAllOffIsSentSixTimesThenTheDeviceFallsSilent) {
    Engine e;
    e.zeroRepeats = ff::kZeroRepeats;  // the module already sent its repeats
    e.Start(kConstantForce, Download::Constant(5000, 10 * kMs).Polar(0));
    e.Run(200);
    ASSERT_EQ(e.sink.sent.size(), 7u) << "one level report, the change to (0, 0), five repeats";
    EXPECT_EQ(e.sink.sent[0].Level1, 5000);
    for (size_t i = 1; i < 7; ++i) EXPECT_EQ(e.sink.sent[i].Level1, 0);
    EXPECT_EQ(e.sink.sent[6].At - e.sink.sent[1].At, 5u) << "repeats go out on consecutive steps";
}

TEST(PlaybackReports, UnchangedLevelsAreNotSentAgain) {
    Engine e;
    e.Start(kConstantForce, Download::Constant(5000, ff::kInfinite).Polar(0));
    e.Run(500);
    EXPECT_EQ(e.sink.sent.size(), 1u);
}

TEST(PlaybackReports, SummaryTellsPlayingFromPausedFromIdle) {
    Engine e;
    e.Step();
    EXPECT_EQ(e.motors.Summary, ff::PlaybackSummary::Idle);
    const uint32_t h = e.Start(kConstantForce, Download::Constant(5000, ff::kInfinite).Polar(0));
    e.Step();
    EXPECT_EQ(e.motors.Summary, ff::PlaybackSummary::Playing);
    e.store.PauseAll(e.clock.now);
    e.Step();
    EXPECT_EQ(e.motors.Summary, ff::PlaybackSummary::Paused);
    e.store.Halt(h);
    e.Step();
    EXPECT_EQ(e.motors.Summary, ff::PlaybackSummary::Idle);
}

// --- bad input: a clear result, never a read past a block or an overflow --

TEST(PlaybackBadInput, MissingOrShortParameterBlocksPlaySilentlyAndEndOnTime) {
    for (uint32_t kind = 0; kind <= 6; ++kind) {
        for (uint32_t size : {0u, 3u}) {
            Engine e;
            Download d = Download::Constant(10000, 50 * kMs).Polar(0);
            d.block.resize(size);
            d.params.TypeSpecificSize = size;
            d.params.TypeSpecific = size ? d.block.data() : nullptr;
            const uint32_t h = e.Start(kind, d);
            e.Run(60);
            EXPECT_EQ(e.motors.Last1, 0) << "kind " << kind << " with a " << size << "-byte block";
            EXPECT_EQ(e.store.State(h), ff::PlayState::Stopped) << "kind " << kind << " still ends";
        }
    }
}

TEST(PlaybackBadInput, ExtremeMagnitudesAndPowersSaturateInsteadOfOverflowing) {
    for (int32_t magnitude : {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), 10001}) {
        for (int32_t power : {std::numeric_limits<int32_t>::min(), -1, 255, std::numeric_limits<int32_t>::max()}) {
            Engine e;
            e.settings.MotorPower = power;
            e.Start(kConstantForce, Download::Constant(magnitude, ff::kInfinite).Polar(4500).Gain(0xFFFFFFFFu));
            e.Start(ff::kSquare, Download::Periodic(0xFFFFFFFFu, magnitude, 0xFFFFFFFFu, 0xFFFFFFFEu, ff::kInfinite));
            e.Run(3);
            EXPECT_LE(e.motors.Last1, 10000);
            EXPECT_GE(e.motors.Last1, 0);
            EXPECT_LE(e.motors.Last2, 10000);
        }
    }
}

TEST(PlaybackBadInput, DurationsAndPeriodsAtTheirExtremes) {
    for (uint32_t duration : {0u, 1u, 0xFFFFFFFEu, ff::kInfinite}) {
        for (uint32_t period : {0u, 1u, 1000u, 0xFFFFFFFEu, 0xFFFFFFFFu}) {
            for (uint32_t kind : {2u, 3u, 4u, 5u, 6u}) {
                for (bool envelope : {false, true}) {
                    Engine e;
                    e.settings.TimeCycle = 0xFFFFFFFFu;
                    Download d = Download::Periodic(10000, 0, 35999, period, duration).Polar(0);
                    if (envelope) d.Envelope(10000, 0xFFFFFFFEu, 10000, 0xFFFFFFFEu);
                    e.Start(kind, d);
                    e.Run(3);
                    EXPECT_LE(e.motors.Last1, 10000);
                }
            }
        }
    }
    Engine zero;
    const uint32_t h = zero.Start(kConstantForce, Download::Constant(5000, 0).Polar(0));
    zero.Run(2);
    EXPECT_EQ(zero.store.State(h), ff::PlayState::Stopped) << "a zero duration ends after its first millisecond";
}

TEST(PlaybackBadInput, ExtremeCartesianWeightsSaturate) {
    const int32_t xy[4] = {std::numeric_limits<int32_t>::max(), -(std::numeric_limits<int32_t>::max() - 1)};
    const ff::MotorShares s = ff::SplitDirection(std::numeric_limits<int32_t>::max(), ff::kCoordCartesian, xy, 2);
    EXPECT_EQ(s.S1, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(s.S2, std::numeric_limits<int32_t>::min());
    const ff::MotorShares strong = ff::ApplyStrength(s, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(strong.S1, std::numeric_limits<int32_t>::max());
}

TEST(PlaybackInterpolate, TruncatesTowardZeroAndTakesTheStartForAnEmptySpan) {
    EXPECT_EQ(ff::Interpolate(0, 10000, 3, 1), 3333);
    EXPECT_EQ(ff::Interpolate(0, -10000, 3, 1), -3333);
    EXPECT_EQ(ff::Interpolate(7, 99, 0, 5), 7);
}

}  // namespace
