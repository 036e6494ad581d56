// The effect list tells games which parameters change while an effect plays.
// Each published dynamic parameter is shown here on the driver's own engine:
// an update through the effect store while the effect plays, then the steps
// that follow, compared with the same effect never updated, with an effect
// that had the new value from its start, and with one restarted at the update.
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <utility>

#include "setup/EffectCatalog.h"
#include "tests/native/forcedriver/EngineHarness.h"

namespace {

using fftest::Download;
using fftest::Engine;
using Levels = std::pair<int32_t, int32_t>;

constexpr uint32_t kMs = 1000;  // microseconds

struct DynamicCase {
    const char* Name;
    uint32_t Flag;  // the DIEP flag of the update
    uint32_t Kind;  // the driver's effect id
    Download (*Make)(bool changed);  // the effect before and after the update
    uint32_t ChangeAt;  // ms after the start
    uint32_t ReadAt;    // ms after the start
};

void PrintTo(const DynamicCase& c, std::ostream* os) { *os << c.Name; }

// A rising ramp plays a level that tells the time: 10 per millisecond over a second.
Download Rising() { return Download::Ramp(0, 10000, 1000 * kMs); }

const DynamicCase kCases[] = {
    {"Duration", ff::kParamDuration, ff::kRampForce,
     [](bool changed) { return Download::Ramp(0, 10000, (changed ? 2000 : 1000) * kMs); }, 300, 500},
    {"Gain", ff::kParamGain, ff::kRampForce, [](bool changed) { return Download(Rising().Gain(changed ? 5000 : 10000)); },
     300, 500},
    {"AxesOfACartesianEffect", ff::kParamAxes, ff::kRampForce,
     [](bool changed) {
         Download d = Rising();
         d.params.Flags = ff::kCoordCartesian;
         d.params.AxisCount = changed ? 1 : 2;  // one axis drives both motors alike
         d.params.Axes[0] = 0;
         d.params.Axes[1] = 4;
         d.params.Directions[0] = 3;
         d.params.Directions[1] = changed ? 0 : 1;
         return d;
     },
     300, 500},
    {"DirectionOfAPolarEffect", ff::kParamDirection, ff::kRampForce,
     [](bool changed) { return Download(Rising().Polar(changed ? 9000 : 0)); }, 300, 500},
    {"DirectionOfACartesianEffect", ff::kParamDirection, ff::kRampForce,
     [](bool changed) {
         Download d = Rising();
         d.params.Flags = ff::kCoordCartesian;
         d.params.AxisCount = 2;
         d.params.Directions[0] = changed ? 1 : 3;
         d.params.Directions[1] = changed ? 3 : 1;
         return d;
     },
     300, 500},
    {"EnvelopeAttack", ff::kParamEnvelope, ff::kConstantForce,
     [](bool changed) {
         Download d = Download::Constant(8000, 1000 * kMs);
         if (changed) d.Envelope(0, 1000 * kMs, 0, 0);
         return d;
     },
     300, 500},
    {"EnvelopeFade", ff::kParamEnvelope, ff::kConstantForce,
     [](bool changed) {
         Download d = Download::Constant(8000, 400 * kMs);
         // Without the fade the effect is over at 400 ms; with it, it fades for a second.
         d.Envelope(0, 0, 0, changed ? 1000 * kMs : 0);
         return d;
     },
     300, 600},
    {"RampLevels", ff::kParamTypeSpecific, ff::kRampForce,
     [](bool changed) { return Download::Ramp(0, changed ? 5000 : 10000, 1000 * kMs); }, 300, 500},
    {"PeriodicMagnitude", ff::kParamTypeSpecific, ff::kSquare,
     [](bool changed) { return Download::Periodic(changed ? 4000 : 10000, 0, 0, 100 * kMs, 1000 * kMs); }, 480,
     500},
    {"StartDelay", ff::kParamStartDelay, ff::kRampForce,
     [](bool changed) { return Download(Rising().StartDelay(changed ? 0 : 200 * kMs)); }, 100, 300},
};

uint32_t CaseFlags() {
    uint32_t flags = 0;
    for (const DynamicCase& c : kCases) flags |= c.Flag;
    return flags;
}

std::string Shown(const Levels& l) { return "(" + std::to_string(l.first) + ", " + std::to_string(l.second) + ")"; }

class PublishedDynamicParameter : public ::testing::TestWithParam<DynamicCase> {
protected:
    // Plays the effect as first downloaded; with `update`, the changed
    // parameter is applied at ChangeAt, without DIEP_START.
    static Levels Played(Engine& e, const DynamicCase& c, bool update, uint32_t* handle = nullptr) {
        const uint32_t start = e.clock.now;
        const uint32_t h = e.Start(c.Kind, c.Make(false));
        e.Run(c.ChangeAt);
        if (update) {
            Download changed = c.Make(true);
            EXPECT_TRUE(e.store.Modify(c.Kind, h, changed.Params(), c.Flag, e.clock.now));
        }
        if (handle) *handle = h;
        return e.LevelsAt(start, c.ReadAt);
    }
    // The effect downloaded with the new value in the first place.
    static Levels FromTheStart(const DynamicCase& c) {
        Engine e;
        const uint32_t start = e.clock.now;
        e.Start(c.Kind, c.Make(true));
        return e.LevelsAt(start, c.ReadAt);
    }
    // The effect with the new value started afresh at the moment of the update.
    static Levels Restarted(const DynamicCase& c) {
        Engine e;
        const uint32_t start = e.clock.now;
        e.Run(c.ChangeAt);
        e.Start(c.Kind, c.Make(true));
        return e.LevelsAt(start, c.ReadAt);
    }
};

TEST_P(PublishedDynamicParameter, ChangesAPlayingEffectAtOnceWithoutARestart) {
    const DynamicCase& c = GetParam();
    Engine untouched;
    const Levels before = Played(untouched, c, false);
    const Levels always = FromTheStart(c);
    const Levels restarted = Restarted(c);
    // The case must tell the outcomes apart.
    ASSERT_NE(before, always) << "the new value plays differently from the old";
    ASSERT_NE(always, restarted) << "a restart at the update would show";

    Engine e;
    const uint32_t startTick = e.clock.now;
    uint32_t h = 0;
    const Levels after = Played(e, c, true, &h);
    EXPECT_EQ(after, always) << "after the update the effect plays " << Shown(after)
                             << ", as if it had always had the new value " << Shown(always)
                             << "; never updated it plays " << Shown(before) << ", restarted " << Shown(restarted);
    EXPECT_EQ(e.store.State(h), ff::PlayState::Playing) << "the effect goes on playing";
    ASSERT_NE(e.store.Effects().Find(h), nullptr);
    EXPECT_EQ(e.store.Effects().Find(h)->StartTick, startTick) << "the effect keeps its start";
}

INSTANTIATE_TEST_SUITE_P(EffectList, PublishedDynamicParameter, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DynamicCase>& info) { return info.param.Name; });

TEST(EffectListDynamicParameters, EveryPublishedDynamicParameterIsShownOnAPlayingEffect) {
    const uint32_t shown = CaseFlags();
    for (const padsetup::EffectEntry& e : padsetup::kEffectCatalog) {
        for (uint32_t bit = 1; bit != 0; bit <<= 1) {
            if (!(e.DynamicParams & bit)) continue;
            char flag[16];
            std::snprintf(flag, sizeof flag, "0x%X", bit);
            EXPECT_TRUE(shown & bit) << e.Name << " publishes " << flag
                                     << " as changing while the effect plays, and no case here shows it";
        }
        EXPECT_EQ(e.DynamicParams & ~e.StaticParams, 0u) << e.Name << " changes only parameters it takes at all";
    }
}

TEST(EffectListDynamicParameters, ADirectionUpdateIsReadInTheCoordinatesTheEffectWasCreatedWith) {
    // A polar effect pointing at 0 degrees drives motor 1. An update that
    // says cartesian (0, 1), all on motor 2 in cartesian terms, is taken as
    // polar 0 degrees: the record keeps its coordinate system.
    Engine e;
    const uint32_t start = e.clock.now;
    const uint32_t h = e.Start(ff::kConstantForce, Download(Download::Constant(6000, ff::kInfinite).Polar(0)));
    e.Run(100);
    Download update = Download::Constant(6000, ff::kInfinite);
    update.params.Flags = ff::kCoordCartesian;
    update.params.AxisCount = 2;
    update.params.Directions[0] = 0;
    update.params.Directions[1] = 1;
    ASSERT_TRUE(e.store.Modify(ff::kConstantForce, h, update.Params(), ff::kParamDirection, e.clock.now));
    EXPECT_EQ(e.LevelsAt(start, 200), Levels(6000, 0));
}

}  // namespace
