// Effects the way games and game libraries drive them: long effects updated
// in place, one effect per motor, retriggered shots, several threads at once.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "hosts/dihost/SettingsKey.h"
#include "tests/wine/forcedriver/DriverUnderTest.h"
#include "tests/wine/forcedriver/PadWatch.h"

using namespace fftest;
using padhost::BuiltEffect;
using padhost::EffectShape;
using padhost::kInfinite;

namespace {

class GameEffects : public BoundPadTest {};

}  // namespace

TEST_F(GameEffects, ALongPeriodicEffectTakesANewMagnitudeInPlaceAndKeepsItsPhase) {
    // 400 ms square: on 0 to 200, off 200 to 400, on again at 400.
    BuiltEffect wave(EffectShape::Periodic(padhost::kSquare, 10000, 400000, kInfinite).WithPolar(0));
    DWORD handle = rig_.Download(0, wave);
    ASSERT_TRUE(WaitUntil([&] { return Motor1Edges(pad_->Reports()).size() >= 3; }, 3000));
    ::Sleep(60);
    BuiltEffect weaker(EffectShape::Periodic(padhost::kSquare, 5000, 400000, kInfinite).WithPolar(0));
    const size_t before = pad_->ReportCount();
    ASSERT_EQ(rig_.Host().Download(0, weaker, &handle, DIEP_TYPESPECIFICPARAMS), S_OK);
    EXPECT_GE(WaitForReport(*pad_, [](const simpad::PadReport& r) { return r.Motor1() == 0x13; }, 500, before), 0)
        << "the new magnitude (5000) reaches the motor at once; " << Describe(pad_->Reports());
    ASSERT_TRUE(WaitUntil([&] { return Motor1Edges(pad_->Reports()).size() >= 5; }, 3000));

    const std::vector<Edge> edges = Motor1Edges(pad_->Reports());
    // A restart at the update would have moved these by the 60 ms the wave had run.
    EXPECT_NEAR(edges[3].Ms - edges[0].Ms, 600.0, 30.0) << "the fall after the update keeps the wave's schedule";
    EXPECT_NEAR(edges[4].Ms - edges[0].Ms, 800.0, 30.0) << "the next rise keeps the wave's schedule";
    EXPECT_EQ(rig_.Status(0, handle), static_cast<DWORD>(DIEGES_PLAYING));
}

TEST_F(GameEffects, AnInfiniteEffectUpdatedWithNoRestartTakesEachNewParameterAndPlaysOn) {
    // A slow attack shows whether the effect's time began again.
    BuiltEffect effect(EffectShape::Constant(10000, kInfinite).WithPolar(0).WithEnvelope(0, 600000, 0, 0));
    DWORD handle = rig_.Download(0, effect);
    ASSERT_GE(WaitForReport(*pad_, [](const simpad::PadReport& r) { return r.Motor1() >= 0x10; }, 2000), 0);
    const size_t before = pad_->ReportCount();
    const int reached = pad_->Reports().back().Motor1();
    BuiltEffect same(EffectShape::Constant(10000, kInfinite).WithPolar(0).WithEnvelope(0, 600000, 0, 0));
    EXPECT_EQ(rig_.Host().Download(0, same, &handle, DIEP_GAIN | DIEP_TYPESPECIFICPARAMS | DIEP_NORESTART), S_OK)
        << "an update of a playing effect with DIEP_NORESTART succeeds";
    ASSERT_GE(WaitForReport(*pad_, [](const simpad::PadReport& r) { return r.Motor1() == 0x1F; }, 2000), 0);
    const Reports r = pad_->Reports();
    for (size_t i = before; i < r.size(); ++i)
        EXPECT_GE(r[i].Motor1(), reached - 1) << "the attack went back to its start; " << Describe(r);

    size_t mark = pad_->ReportCount();
    BuiltEffect softer(EffectShape::Constant(4000, kInfinite).WithPolar(0));
    EXPECT_EQ(rig_.Host().Download(0, softer, &handle, DIEP_TYPESPECIFICPARAMS | DIEP_NORESTART), S_OK);
    EXPECT_GE(WaitForReport(*pad_, [](const simpad::PadReport& r) { return r.Motor1() == 0x11; }, 1000, mark), 0)
        << "4000 reaches the motor; " << Describe(pad_->Reports());

    mark = pad_->ReportCount();
    BuiltEffect turned(EffectShape::Constant(4000, kInfinite).WithPolar(9000));
    EXPECT_EQ(rig_.Host().Download(0, turned, &handle, DIEP_DIRECTION | DIEP_NORESTART), S_OK);
    EXPECT_GE(WaitForReport(*pad_, [](const simpad::PadReport& r) { return r.Motor1() == 0 && r.Motor2() == 0x11; }, 1000,
                            mark),
              0)
        << "the new direction moves the force to motor 2; " << Describe(pad_->Reports());
    EXPECT_EQ(rig_.Status(0, handle), static_cast<DWORD>(DIEGES_PLAYING));
}

TEST_F(GameEffects, OneEffectPerMotorIsSteeredIndependently) {
    BuiltEffect left(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    BuiltEffect right(EffectShape::Periodic(padhost::kSine, 5000, 1, kInfinite).WithPolar(9000));
    DWORD hLeft = rig_.Download(0, left);
    DWORD hRight = rig_.Download(0, right);
    const auto both = [](int m1, int m2) {
        return [m1, m2](const simpad::PadReport& r) { return r.Motor1() == m1 && r.Motor2() == m2; };
    };
    // A period under 1 ms holds magnitude plus offset: 5000 steady on motor 2.
    EXPECT_GE(WaitForReport(*pad_, both(0x1F, 0x13), 2000), 0) << Describe(pad_->Reports());
    size_t mark = pad_->ReportCount();
    BuiltEffect rightFull(EffectShape::Periodic(padhost::kSine, 10000, 1, kInfinite).WithPolar(9000));
    ASSERT_EQ(rig_.Host().Download(0, rightFull, &hRight, DIEP_TYPESPECIFICPARAMS), S_OK);
    EXPECT_GE(WaitForReport(*pad_, both(0x1F, 0x1F), 1000, mark), 0) << Describe(pad_->Reports());
    mark = pad_->ReportCount();
    BuiltEffect leftHalf(EffectShape::Constant(5000, kInfinite).WithPolar(0));
    ASSERT_EQ(rig_.Host().Download(0, leftHalf, &hLeft, DIEP_TYPESPECIFICPARAMS), S_OK);
    EXPECT_GE(WaitForReport(*pad_, both(0x13, 0x1F), 1000, mark), 0) << Describe(pad_->Reports());
    mark = pad_->ReportCount();
    ASSERT_EQ(rig_.Driver()->StopEffect(0, hLeft), S_OK);
    EXPECT_GE(WaitForReport(*pad_, both(0x00, 0x1F), 1000, mark), 0) << Describe(pad_->Reports());
}

TEST_F(GameEffects, AShortShotRetriggeredWithStartPlaysEachTime) {
    BuiltEffect shot(EffectShape::Constant(10000, 40000).WithPolar(0));
    DWORD handle = 0;
    ASSERT_EQ(rig_.Host().Download(0, shot, &handle, DIEP_ALLPARAMS), S_OK);
    for (int i = 0; i < 8; ++i) {
        ASSERT_EQ(rig_.Host().Download(0, shot, &handle, DIEP_START), S_OK);
        ::Sleep(100);
    }
    ASSERT_TRUE(pad_->WaitForQuiet(100, 2000));
    const std::vector<Edge> edges = Motor1Edges(pad_->Reports());
    EXPECT_EQ(edges.size(), 16u) << "eight shots, each on and off; " << Describe(pad_->Reports());
    const std::vector<double> on = SpanLengths(edges, true);
    EXPECT_NEAR(Median(on), 40.0, 15.0) << Join(on);
}

TEST_F(GameEffects, EffectsStartedFromSeveralThreadsAtOnceAllPlay) {
    constexpr int kThreads = 4;
    BuiltEffect quarter(EffectShape::Constant(2500, kInfinite).WithPolar(0));
    std::atomic<int> ready{0};
    std::vector<DWORD> handles(kThreads, 0);
    std::vector<HRESULT> results(kThreads, E_FAIL);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            ++ready;
            while (ready.load() < kThreads) {
            }
            results[t] = rig_.Host().Download(0, quarter, &handles[t], DIEP_ALLPARAMS | DIEP_START);
        });
    }
    for (std::thread& t : threads) t.join();
    std::set<DWORD> distinct;
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(results[t], S_OK);
        distinct.insert(handles[t]);
    }
    EXPECT_EQ(distinct, (std::set<DWORD>{1, 2, 3, 4})) << "each thread got a handle of its own";
    EXPECT_GE(WaitForReport(*pad_, [](const simpad::PadReport& r) { return r.Motor1() == 0x1F; }, 2000), 0)
        << "four times 2500 is full; " << Describe(pad_->Reports());

    threads.clear();
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] { results[t] = rig_.Driver()->StopEffect(0, handles[t]); });
    for (std::thread& t : threads) t.join();
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(results[t], S_OK);
        EXPECT_EQ(rig_.Status(0, handles[t]), 0u);
    }
    EXPECT_TRUE(WaitForAllOffLast(*pad_, 1000));
}
