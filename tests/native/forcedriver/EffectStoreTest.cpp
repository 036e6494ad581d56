#include <gtest/gtest.h>

#include "EngineHarness.h"

namespace {

using fftest::Download;
using fftest::Engine;

constexpr uint32_t kMs = 1000;

TEST(EffectHandles, FirstIsOneAndFreedHandlesAreReused) {
    Engine e;
    const uint32_t a = e.Add(0, Download::Constant(1, 0));
    const uint32_t b = e.Add(0, Download::Constant(1, 0));
    EXPECT_EQ(a, 1u);
    EXPECT_EQ(b, 2u);
    e.store.Remove(a);
    EXPECT_EQ(e.Add(0, Download::Constant(1, 0)), 1u);
    EXPECT_EQ(e.Add(0, Download::Constant(1, 0)), 3u);
}

TEST(EffectHandles, ManyEffectsGetDistinctSmallestHandles) {
    Engine e;
    for (uint32_t i = 1; i <= 300; ++i) ASSERT_EQ(e.Add(0, Download::Constant(1, 0)), i);
    for (uint32_t h = 2; h <= 300; h += 2) e.store.Remove(h);
    EXPECT_EQ(e.Add(0, Download::Constant(1, 0)), 2u);
    EXPECT_EQ(e.Add(0, Download::Constant(1, 0)), 4u);
    EXPECT_EQ(e.store.Effects().Count(), 152u);
}

TEST(EffectHandles, ResetLeavesAnEmptyListAndTheNextEffectGetsHandleOne) {
    Engine e;
    e.Add(0, Download::Constant(1, 0));
    e.Add(0, Download::Constant(1, 0));
    e.store.HaltAll();
    e.store.Clear();
    EXPECT_EQ(e.store.Effects().Count(), 0u);
    EXPECT_EQ(e.Add(0, Download::Constant(1, 0)), 1u);
}

TEST(EffectPlayStates, UnknownHandlesReadStoppedAndChangeNothing) {
    Engine e;
    const uint32_t h = e.Start(0, Download::Constant(1, ff::kInfinite));
    e.store.Halt(99);
    e.store.Remove(99);
    e.store.Play(99, e.clock.now);
    EXPECT_EQ(e.store.State(99), ff::PlayState::Stopped);
    EXPECT_EQ(e.store.State(h), ff::PlayState::Playing);
    EXPECT_FALSE(e.store.Modify(0, 99, Download::Constant(1, 0).Params(), ff::kParamGain, 0));
}

TEST(EffectPlayStates, PlayingAnEffectThatAlreadyPlaysDoesNotRestartIt) {
    Engine e;
    const uint32_t h = e.Start(0, Download::Constant(1, ff::kInfinite));
    const uint32_t started = e.store.Effects().Find(h)->StartTick;
    e.clock.now += 400;
    e.store.Play(h, e.clock.now);
    EXPECT_EQ(e.store.Effects().Find(h)->StartTick, started);
}

TEST(EffectPlayStates, DownloadWithStartOnAPlayingEffectRestartsItsTime) {
    Engine e;
    const uint32_t start = e.clock.now;
    const uint32_t h = e.Start(0, Download::Constant(5000, 100 * kMs).Polar(0));
    e.Run(80);
    // The update resets the ticks; the start then finds the effect already playing.
    ASSERT_TRUE(e.store.Modify(0, h, Download::Constant(5000, 100 * kMs).Params(), ff::kParamStart, e.clock.now));
    e.store.Play(h, e.clock.now);
    EXPECT_EQ(e.store.Effects().Find(h)->StartTick, start + 80);
    e.Run(90);
    EXPECT_EQ(e.store.State(h), ff::PlayState::Playing) << "the effect runs its whole duration again";
}

TEST(EffectPlayStates, PauseThenContinueResumesAtTheTimeItHadWhenPaused) {
    Engine e;
    const uint32_t h = e.Start(ff::kRampForce, Download::Ramp(0, 10000, 1000 * kMs).Polar(0));
    e.Run(200);
    e.store.PauseAll(e.clock.now);
    e.Step();
    EXPECT_EQ(e.motors.Last1, 0) << "a paused effect gives no output";
    e.clock.now += 500;
    e.store.ContinueAll(e.clock.now);
    e.Step();
    EXPECT_EQ(e.motors.Last1, 2000) << "the ramp goes on from 200 ms, not from 700 ms";
    EXPECT_EQ(e.store.State(h), ff::PlayState::Playing);
}

TEST(EffectPlayStates, ContinueAcrossTheTickWrapKeepsTheElapsedTime) {
    Engine e;
    e.clock.now = 0xFFFFFFF0u;
    const uint32_t h = e.Start(0, Download::Constant(1, ff::kInfinite));
    e.clock.now += 100;  // wraps
    e.store.PauseAll(e.clock.now);
    e.clock.now += 1000;
    e.store.ContinueAll(e.clock.now);
    EXPECT_EQ(e.clock.now - e.store.Effects().Find(h)->StartTick, 100u);
}

TEST(EffectPlayStates, StopAllStopsPausedAndPlayingEffectsAndClearsTheirTicks) {
    Engine e;
    const uint32_t a = e.Start(0, Download::Constant(1, ff::kInfinite));
    e.store.PauseAll(e.clock.now);
    const uint32_t b = e.Start(0, Download::Constant(1, ff::kInfinite));
    e.store.HaltAll();
    for (uint32_t h : {a, b}) {
        EXPECT_EQ(e.store.State(h), ff::PlayState::Stopped);
        EXPECT_EQ(e.store.Effects().Find(h)->StartTick, 0u);
    }
}

TEST(EffectUpdates, NullEnvelopeWithTheEnvelopeFlagKeepsTheOldOne) {
    Engine e;
    const uint32_t h = e.Add(0, Download::Constant(1, 0).Envelope(1, 2000, 3, 4000));
    ff::EffectParams update = Download::Constant(1, 0).Params();
    update.Envelope = nullptr;
    ASSERT_TRUE(e.store.Modify(0, h, update, ff::kParamEnvelope, 0));
    EXPECT_EQ(e.store.Effects().Find(h)->Envelope.AttackTime, 2000u);
    Download replaced = Download::Constant(1, 0).Envelope(9, 9000, 9, 9000);
    ASSERT_TRUE(e.store.Modify(0, h, replaced.Params(), ff::kParamEnvelope, 0));
    EXPECT_EQ(e.store.Effects().Find(h)->Envelope.AttackTime, 9000u);
}

TEST(EffectUpdates, OnlyFlaggedFieldsChangeAndCoordinatesNever) {
    Engine e;
    const uint32_t h = e.Add(0, Download::Constant(1, 500 * kMs).Polar(9000).Gain(4000));
    Download d = Download::Constant(2, 800 * kMs).Gain(7000);
    d.params.Flags = ff::kCoordCartesian;
    d.params.AxisCount = 2;
    d.params.Directions[0] = 1;
    ASSERT_TRUE(e.store.Modify(0, h, d.Params(), ff::kParamGain | ff::kParamDirection, 0));
    const ff::EffectRecord* r = e.store.Effects().Find(h);
    EXPECT_EQ(r->Gain, 7000u);
    EXPECT_EQ(r->Directions[0], 1);
    EXPECT_EQ(r->Duration, 500u) << "duration was not flagged";
    EXPECT_EQ(r->CoordinateFlags, ff::kCoordPolar) << "coordinates are fixed at creation";
}

TEST(EffectUpdates, ParametersUpdatedInPlaceTakeEffectOnTheNextStep) {
    Engine e;
    const uint32_t h = e.Start(ff::kSquare, Download::Periodic(2000, 0, 0, 999, ff::kInfinite).Polar(0));
    e.Step();
    EXPECT_EQ(e.motors.Last1, 2000);
    ASSERT_TRUE(e.store.Modify(ff::kSquare, h, Download::Periodic(9000, 0, 0, 999, 0).Params(),
                               ff::kParamTypeSpecific | ff::kParamNoRestart, e.clock.now));
    e.Step();
    EXPECT_EQ(e.motors.Last1, 9000);
    EXPECT_EQ(e.store.State(h), ff::PlayState::Playing);
}

TEST(EffectUpdates, TheEffectIdOfAnUpdateReplacesTheKind) {
    Engine e;
    const uint32_t h = e.Start(0, Download::Constant(5000, ff::kInfinite).Polar(0));
    ASSERT_TRUE(e.store.Modify(9, h, Download::Constant(5000, 0).Params(), 0, e.clock.now));
    e.Step();
    EXPECT_EQ(e.store.State(h), ff::PlayState::Stopped) << "id 9 stops at once";
}

TEST(EffectUpdates, EmptyParameterBlockReleasesTheOldOne) {
    Engine e;
    const uint32_t h = e.Add(0, Download::Constant(5000, 0));
    ff::EffectParams empty;
    ASSERT_TRUE(e.store.Modify(0, h, empty, ff::kParamTypeSpecific, 0));
    EXPECT_EQ(e.store.Effects().Find(h)->ParameterSize, 0u);
    EXPECT_EQ(e.store.Effects().Find(h)->Parameters, nullptr);
}

TEST(EffectRecords, CreationTakesDelaysAndDurationsInMillisecondsAndKeepsInfinite) {
    Download d = Download::Constant(1, 1999).StartDelay(2500);
    auto r = ff::MakeEffectRecord(0, d.Params(), ff::kParamStart);
    EXPECT_EQ(r->Duration, 1u);
    EXPECT_EQ(r->StartDelay, 2u);
    EXPECT_EQ(r->DownloadFlags, ff::kParamStart);
    auto endless = ff::MakeEffectRecord(0, Download::Constant(1, ff::kInfinite).Params(), 0);
    EXPECT_EQ(endless->Duration, ff::kInfinite);
    EXPECT_EQ(endless->State, ff::PlayState::Stopped);
}

TEST(EffectRecords, ParameterBlockIsCopiedSoTheGameMayReuseItsBuffer) {
    Download d = Download::Constant(4321, 0);
    auto r = ff::MakeEffectRecord(0, d.Params(), 0);
    d.block.assign(d.block.size(), 0xEE);
    ff::ConstantBlock c{};
    ASSERT_TRUE(r->ReadPayload(c));
    EXPECT_EQ(c.Magnitude, 4321);
}

}  // namespace
