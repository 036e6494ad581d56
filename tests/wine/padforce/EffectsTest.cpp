// Effects as games and game libraries send them: handles, restarts, updates
// in place, pause and continue, reset, kinds without output, several at once.
#include "tests/wine/padforce/DriverTestSupport.h"

#include <atomic>
#include <thread>

#include "hosts/dihost/BuiltEffect.h"

namespace fftests {
namespace {

using padhost::BuiltEffect;
using padhost::EffectShape;
using padhost::kInfinite;

uint8_t MaxMotor1(const std::vector<simpad::PadReport>& reports) {
    uint8_t m = 0;
    for (const auto& r : reports) m = std::max(m, r.Motor1());
    return m;
}

TEST(EffectHandles, FirstIsOneAndAFreedHandleIsGivenAgain) {
    BoundDriver d;
    const DWORD a = d.Start(EffectShape::Constant(1000, kInfinite), DIEP_ALLPARAMS);
    const DWORD b = d.Start(EffectShape::Constant(1000, kInfinite), DIEP_ALLPARAMS);
    EXPECT_EQ(a, 1u);
    EXPECT_EQ(b, 2u);
    ASSERT_EQ(d.Driver()->DestroyEffect(0, a), S_OK);
    EXPECT_EQ(d.Start(EffectShape::Constant(1000, kInfinite), DIEP_ALLPARAMS), 1u);
    EXPECT_EQ(d.Start(EffectShape::Constant(1000, kInfinite), DIEP_ALLPARAMS), 3u);
}

TEST(EffectHandles, ResetEmptiesTheListStopsTheMotorsAndHandsOutOneAgain) {
    BoundDriver d;
    const DWORD a = d.Start(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    d.Start(EffectShape::Constant(10000, kInfinite).WithPolar(9000));
    ASSERT_TRUE(d.WaitForValues(0x1F, 0x1F));
    ASSERT_EQ(d.Driver()->SendForceFeedbackCommand(0, DISFFC_RESET), S_OK);
    EXPECT_EQ(d.Status(a), 0u) << "a reset effect is gone";
    EXPECT_TRUE(d.LastAfterQuiet()->IsAllOff());
    EXPECT_EQ(d.Start(EffectShape::Constant(1000, kInfinite), DIEP_ALLPARAMS), 1u);
}

TEST(EffectPlay, DownloadWithStartOnAPlayingEffectRestartsItsTime) {
    BoundDriver d;
    const DWORD h = d.Start(EffectShape::Constant(10000, 400000).WithPolar(0));
    ASSERT_TRUE(d.pad.WaitForReports(1, 3000));
    const double began = d.pad.Reports()[0].Ms();
    ::Sleep(250);
    BuiltEffect again(EffectShape::Constant(10000, 400000).WithPolar(0));
    DWORD handle = h;
    ASSERT_EQ(d.host->Download(0, again, &handle, DIEP_START), S_OK);
    EXPECT_EQ(handle, h);
    ASSERT_TRUE(WaitForStopped(d.Driver(), 0, h, 3000));
    ASSERT_TRUE(d.pad.WaitForReports(2, 2000)) << "the end's all-off report";
    const auto r = d.pad.Reports();
    EXPECT_GT(r.back().Ms() - began, 600.0) << "the effect ran 400 ms from its restart, not from its first start";
}

TEST(EffectPlay, StartWithACountOfZeroDoesNothingAndAnyCountPlaysOnce) {
    BoundDriver d;
    const DWORD h = d.Start(EffectShape::Constant(10000, 100000).WithPolar(0), DIEP_ALLPARAMS);
    ASSERT_EQ(d.Driver()->StartEffect(0, h, 0, 0), S_OK);
    EXPECT_EQ(d.Status(h), 0u);
    ASSERT_EQ(d.Driver()->StartEffect(0, h, DIES_SOLO, 5), S_OK);
    EXPECT_EQ(d.Status(h), static_cast<DWORD>(DIEGES_PLAYING));
    ASSERT_TRUE(WaitForStopped(d.Driver(), 0, h, 2000)) << "five repetitions are played as one";
}

TEST(EffectPlay, NullEnvelopeWithTheEnvelopeFlagKeepsTheOldEnvelope) {
    BoundDriver d;
    // A slow attack from nothing: the first report after a start is low.
    const DWORD h = d.Start(EffectShape::Constant(10000, kInfinite).WithPolar(0).WithEnvelope(0, 2000000, 0, 0));
    ::Sleep(100);
    ASSERT_EQ(d.Driver()->StopEffect(0, h), S_OK);
    ASSERT_TRUE(d.pad.WaitForQuiet(100, 3000));
    d.pad.Clear();
    BuiltEffect update(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    update.Raw().lpEnvelope = nullptr;
    DWORD handle = h;
    ASSERT_EQ(d.host->Download(0, update, &handle, DIEP_ENVELOPE | DIEP_START), S_OK);
    ASSERT_TRUE(d.pad.WaitForReports(1, 3000));
    EXPECT_LT(d.pad.Reports()[0].Motor1(), 12) << "the attack is still there: it starts low, not at full";
}

TEST(EffectPlay, PauseThenContinueResumesWhereItPaused) {
    BoundDriver d;
    // A rise over two seconds: the value tells the effect's time.
    const DWORD h = d.Start(EffectShape::Ramp(0, 10000, 2000000).WithPolar(0));
    ::Sleep(500);
    ASSERT_EQ(d.Driver()->SendForceFeedbackCommand(0, DISFFC_PAUSE), S_OK);
    EXPECT_TRUE(d.LastAfterQuiet()->IsAllOff()) << "pausing stops the motors";
    EXPECT_EQ(d.Status(h), static_cast<DWORD>(DIEGES_PLAYING)) << "a paused effect counts as playing";
    DIDEVICESTATE state{sizeof state, 0, 0};
    ASSERT_EQ(d.Driver()->GetForceFeedbackState(0, &state), S_OK);
    EXPECT_EQ(state.dwState, static_cast<DWORD>(DIGFFS_PAUSED));
    ::Sleep(800);
    d.pad.Clear();
    ASSERT_EQ(d.Driver()->SendForceFeedbackCommand(0, DISFFC_CONTINUE), S_OK);
    ASSERT_TRUE(d.pad.WaitForReports(1, 3000));
    // At 500 ms the rise is at a quarter (value about 13); at 1300 ms it would be about 22.
    const uint8_t resumed = d.pad.Reports()[0].Motor1();
    EXPECT_GE(resumed, 11);
    EXPECT_LE(resumed, 17);
}

TEST(EffectPlay, StopAllStopsEveryEffectAndTheMotors) {
    BoundDriver d;
    const DWORD a = d.Start(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    const DWORD b = d.Start(EffectShape::Periodic(padhost::kSine, 10000, 50000, kInfinite).WithPolar(9000));
    ::Sleep(100);
    const size_t before = d.pad.ReportCount();
    ASSERT_EQ(d.Driver()->SendForceFeedbackCommand(0, DISFFC_STOPALL), S_OK);
    EXPECT_EQ(d.Status(a), 0u);
    EXPECT_EQ(d.Status(b), 0u);
    EXPECT_TRUE(d.LastAfterQuiet()->IsAllOff());
    // The command's own all-off report, which the step takes as the motors'
    // change to (0, 0), then the step's five repeats.
    const auto r = d.pad.Reports();
    size_t allOff = 0;
    for (size_t i = before; i < r.size(); ++i) allOff += r[i].IsAllOff();
    EXPECT_EQ(allOff, 6u);
    for (DWORD ignored : std::initializer_list<DWORD>{DISFFC_SETACTUATORSON, DISFFC_SETACTUATORSOFF, 0x40u, 0xFFFFFFFFu})
        EXPECT_EQ(d.Driver()->SendForceFeedbackCommand(0, ignored), S_OK);
}

TEST(EffectKinds, IdsSevenToElevenStopAtOnceWithoutMovingAMotor) {
    BoundDriver d;
    for (uint32_t id = 7; id <= 11; ++id) {
        EffectShape s = EffectShape::Constant(10000, kInfinite).WithPolar(0);
        s.EffectId = id;
        const DWORD h = d.Start(s);
        EXPECT_TRUE(WaitForStopped(d.Driver(), 0, h, 1000)) << "id " << id;
    }
    ::Sleep(50);
    for (const auto& r : d.pad.Reports()) EXPECT_TRUE(r.IsAllOff()) << Bytes(r);
}

TEST(EffectKinds, IdsTwelveAndAbovePlaySilently) {
    BoundDriver d;
    EffectShape s = EffectShape::Constant(10000, 10000).WithPolar(0);
    s.EffectId = 12;
    const DWORD h = d.Start(s);
    s.EffectId = 0xFFFF;
    const DWORD h2 = d.Start(s);
    ::Sleep(200);
    EXPECT_EQ(d.Status(h), static_cast<DWORD>(DIEGES_PLAYING)) << "no end applies to a kind without output";
    EXPECT_EQ(d.Status(h2), static_cast<DWORD>(DIEGES_PLAYING));
    EXPECT_EQ(MaxMotor1(d.pad.Reports()), 0);
}

TEST(EffectKinds, AFallingRampPlaysAsAFallFromTheDifferenceToNothing) {
    BoundDriver d;
    const DWORD h = d.Start(EffectShape::Ramp(8000, 2000, 1000000).WithPolar(0));
    ASSERT_TRUE(d.pad.WaitForReports(1, 3000));
    EXPECT_EQ(d.pad.Reports()[0].Motor1(), Value(6000)) << "8000 to 2000 starts at 6000";
    // Its end, not a pause in the reports, which a busy machine can make mid-ramp.
    ASSERT_TRUE(WaitForStopped(d.Driver(), 0, h, 10000));
    ASSERT_TRUE(d.LastAfterQuiet(200)->IsAllOff());
    const auto r = d.pad.Reports();
    for (size_t i = 1; i < r.size(); ++i) EXPECT_LE(r[i].Motor1(), r[i - 1].Motor1()) << "it only falls";
}

TEST(EffectUpdates, ALongPeriodicEffectTakesNewParametersInPlaceWithoutRestarting) {
    BoundDriver d;
    // Period below a millisecond: the level holds magnitude + offset, so each
    // report shows the magnitude in force.
    EffectShape effectShape = EffectShape::Periodic(padhost::kSine, 3000, 500, kInfinite).WithPolar(0);
    const DWORD h = d.Start(effectShape);
    ASSERT_TRUE(d.WaitForValues(Value(3000), 0));
    for (int32_t magnitude : {6000, 9000, 2000}) {
        effectShape.Magnitude = magnitude;
        BuiltEffect update(effectShape);
        DWORD handle = h;
        ASSERT_EQ(d.host->Download(0, update, &handle, DIEP_TYPESPECIFICPARAMS), S_OK);
        EXPECT_TRUE(d.WaitForValues(Value(magnitude), 0)) << "magnitude " << magnitude;
        EXPECT_EQ(d.Status(h), static_cast<DWORD>(DIEGES_PLAYING));
    }
}

TEST(EffectUpdates, AnInfiniteEffectUpdatedWithNoRestartAppliesTheChangeAndKeepsPlaying) {
    BoundDriver d;
    EffectShape effectShape = EffectShape::Constant(4000, kInfinite).WithPolar(0);
    const DWORD h = d.Start(effectShape);
    ASSERT_TRUE(d.WaitForValues(Value(4000), 0));
    effectShape.Magnitude = 10000;
    effectShape.WithPolar(9000);
    BuiltEffect update(effectShape);
    DWORD handle = h;
    EXPECT_EQ(d.host->Download(0, update, &handle, DIEP_TYPESPECIFICPARAMS | DIEP_DIRECTION | DIEP_NORESTART), S_OK);
    EXPECT_TRUE(d.WaitForValues(0, 0x1F)) << "new magnitude and direction in force";
    EXPECT_EQ(d.Status(h), static_cast<DWORD>(DIEGES_PLAYING));
}

TEST(EffectUpdates, OneEffectPerMotorDrivesEachMotorOnItsOwn) {
    BoundDriver d;
    const DWORD left = d.Start(EffectShape::Constant(5000, kInfinite).WithPolar(0));
    const DWORD right = d.Start(EffectShape::Constant(10000, kInfinite).WithPolar(9000));
    EXPECT_TRUE(d.WaitForValues(Value(5000), 0x1F));
    ASSERT_EQ(d.Driver()->StopEffect(0, right), S_OK);
    EXPECT_TRUE(d.WaitForValues(Value(5000), 0)) << "stopping one motor's effect leaves the other running";
    EXPECT_EQ(d.Status(left), static_cast<DWORD>(DIEGES_PLAYING));
}

TEST(EffectUpdates, EffectsStartedFromSeveralThreadsAddUp) {
    BoundDriver d;
    std::atomic<int> started{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&] {
            BuiltEffect e(EffectShape::Constant(2000, kInfinite).WithPolar(0));
            DWORD h = 0;
            if (d.host->Download(0, e, &h, DIEP_ALLPARAMS | DIEP_START) == S_OK && h) ++started;
        });
    }
    for (auto& t : threads) t.join();
    ASSERT_EQ(started.load(), 4);
    EXPECT_TRUE(d.WaitForValues(Value(8000), 0)) << "four shares of 2000 sum to 8000";
    for (DWORD h = 1; h <= 4; ++h) EXPECT_EQ(d.Status(h), static_cast<DWORD>(DIEGES_PLAYING)) << "handle " << h;
}

TEST(EffectStatus, UnusedHandlesReadZeroAndTheDeviceStateFollowsPlayback) {
    BoundDriver d;
    EXPECT_EQ(d.Status(77), 0u);
    DIDEVICESTATE state{sizeof state, 0, 0};
    ASSERT_EQ(d.Driver()->GetForceFeedbackState(0, &state), S_OK);
    EXPECT_EQ(state.dwState, static_cast<DWORD>(DIGFFS_STOPPED));
    d.Start(EffectShape::Constant(3000, kInfinite).WithPolar(0));
    // The state is the worker's as of its last step, however late a busy machine runs it.
    const DWORD start = ::GetTickCount();
    do {
        ::Sleep(2);
        ASSERT_EQ(d.Driver()->GetForceFeedbackState(0, &state), S_OK);
    } while (state.dwState != 0 && ::GetTickCount() - start < 3000);
    EXPECT_EQ(state.dwState, 0u) << "playing";
    // An id that was never bound answers S_OK and leaves the state as it was.
    state.dwState = 0x1234;
    ASSERT_EQ(d.Driver()->GetForceFeedbackState(5, &state), S_OK);
    EXPECT_EQ(state.dwState, 0x1234u);
}

}  // namespace
}  // namespace fftests
