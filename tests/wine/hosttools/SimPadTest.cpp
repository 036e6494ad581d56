// The simulated pad under the driver's pattern of use: open, write, close.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <set>
#include <thread>
#include <vector>

#include "tests/wine/hosttools/PadClient.h"
#include "tools/simpad/SimPad.h"

using hosttools::WriteOnce;
using simpad::PadReport;
using simpad::SimPad;

namespace {

constexpr DWORD kArrival = 5000;  // ms; generous for a loaded machine

}  // namespace

TEST(SimPadRecording, AReportWrittenAndClosedAtOnceArrivesWithItsBytesAndTime) {
    SimPad pad;
    ASSERT_TRUE(pad.IsPlugged());
    const uint8_t bytes[4] = {0x00, 0x1F, 0x08, 0x00};
    const int64_t before = pad.Now();
    ASSERT_TRUE(WriteOnce(pad.Path(), bytes, 4).Written);
    ASSERT_TRUE(pad.WaitForReports(1, kArrival)) << "the pad received nothing";
    const int64_t after = pad.Now();

    const std::vector<PadReport> reports = pad.Reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].Length, 4u);
    EXPECT_EQ(reports[0].Motor1(), 0x1F);
    EXPECT_EQ(reports[0].Motor2(), 0x08);
    EXPECT_EQ(reports[0].Bytes[0], 0x00);
    EXPECT_EQ(reports[0].Bytes[3], 0x00);
    EXPECT_GE(reports[0].Ticks, before) << "a report is stamped after it was written";
    EXPECT_LE(reports[0].Ticks, after) << "a report is stamped when it arrives";
    EXPECT_NEAR(reports[0].Ms(), pad.TicksToMs(reports[0].Ticks), 1e-9);
}

TEST(SimPadRecording, ShortAndLongMessagesKeepTheirLengthAndFirstFourBytes) {
    SimPad pad;
    const uint8_t two[2] = {0x00, 0x0C};
    const uint8_t eight[8] = {0x00, 0x10, 0x11, 0x00, 0xEE, 0xEE, 0xEE, 0xEE};
    ASSERT_TRUE(WriteOnce(pad.Path(), two, 2).Written);
    ASSERT_TRUE(pad.WaitForReports(1, kArrival));
    ASSERT_TRUE(WriteOnce(pad.Path(), eight, 8).Written);
    ASSERT_TRUE(pad.WaitForReports(2, kArrival));

    const std::vector<PadReport> reports = pad.Reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].Length, 2u);
    EXPECT_EQ(reports[0].Motor1(), 0x0C);
    EXPECT_EQ(reports[0].Motor2(), 0x00) << "bytes the client did not write read as zero";
    EXPECT_FALSE(reports[0].IsAllOff()) << "a short message is never the all-off report";
    EXPECT_EQ(reports[1].Length, 8u);
    EXPECT_EQ(reports[1].Motor1(), 0x10);
    EXPECT_EQ(reports[1].Motor2(), 0x11);
    EXPECT_EQ(reports[1].Bytes[3], 0x00);
}

TEST(SimPadRecording, EveryOpenIsCountedEvenOneThatWritesNothingAndClearForgetsThem) {
    SimPad pad;
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(WriteOnce(pad.Path(), nullptr, 0).Opened);
    ASSERT_TRUE(pad.WaitForOpens(3, kArrival)) << "opens counted: " << pad.OpenCount();
    ::Sleep(50);
    EXPECT_EQ(pad.OpenCount(), 3u);
    EXPECT_EQ(pad.ReportCount(), 0u) << "an open without a write is no report";

    const uint8_t off[4] = {};
    ASSERT_TRUE(WriteOnce(pad.Path(), off, 4).Written);
    ASSERT_TRUE(pad.WaitForReports(1, kArrival));
    EXPECT_EQ(pad.OpenCount(), 4u);
    EXPECT_TRUE(pad.Reports()[0].IsAllOff());

    pad.Clear();
    EXPECT_EQ(pad.OpenCount(), 0u);
    EXPECT_EQ(pad.ReportCount(), 0u);
}

TEST(SimPadRecording, QuietMeansNothingArrivedForTheWholeSpan) {
    SimPad pad;
    EXPECT_TRUE(pad.WaitForQuiet(20, 2000)) << "a fresh pad is quiet";
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        const uint8_t bytes[4] = {0, 8, 0, 0};
        while (!stop) {
            WriteOnce(pad.Path(), bytes, 4);
            ::Sleep(2);
        }
    });
    ASSERT_TRUE(pad.WaitForReports(1, kArrival));
    EXPECT_FALSE(pad.WaitForQuiet(300, 400)) << "a pad written every few ms is never quiet for 300 ms";
    stop = true;
    writer.join();
    const double last = pad.Reports().back().Ms();
    ASSERT_TRUE(pad.WaitForQuiet(50, kArrival));
    EXPECT_GE(pad.NowMs() - last, 50.0) << "quiet is counted from the last report";
}

TEST(SimPadRecording, TwoPadsHaveTheirOwnPathsAndReports) {
    SimPad a, b;
    EXPECT_NE(a.Path(), b.Path());
    EXPECT_EQ(a.Path().rfind("\\\\.\\pipe\\", 0), 0u) << a.Path();
    const std::wstring wide = a.WidePath();
    EXPECT_EQ(std::string(wide.begin(), wide.end()), a.Path());
    const uint8_t bytes[4] = {0, 9, 0, 0};
    ASSERT_TRUE(WriteOnce(b.Path(), bytes, 4).Written);
    ASSERT_TRUE(b.WaitForReports(1, kArrival));
    EXPECT_EQ(a.ReportCount(), 0u);
    EXPECT_EQ(a.OpenCount(), 0u);
}

TEST(SimPadRecording, TheCallbackSeesEachReportInOrder) {
    SimPad pad;
    std::vector<uint8_t> seen;
    std::atomic<int> calls{0};
    pad.SetCallback([&](const PadReport& r) {
        seen.push_back(r.Motor1());
        ++calls;
    });
    for (uint8_t v = 8; v < 12; ++v) {
        const uint8_t bytes[4] = {0, v, 0, 0};
        ASSERT_TRUE(WriteOnce(pad.Path(), bytes, 4).Written);
        ASSERT_TRUE(pad.WaitForReports(v - 7u, kArrival));
    }
    pad.SetCallback(nullptr);
    ASSERT_EQ(calls.load(), 4);
    EXPECT_EQ(seen, (std::vector<uint8_t>{8, 9, 10, 11}));
}

// Four writers, like the driver's worker and application threads. Each
// writes `burst` reports back to back, then pauses `pause` ms: a steady
// report per millisecond, and bursts that race the re-arming of instances.
struct LoadShape {
    const char* Name;
    int Rounds;
    int Burst;
    DWORD Pause;
};

class SimPadUnderLoad : public ::testing::TestWithParam<LoadShape> {};

TEST_P(SimPadUnderLoad, RefusesNoOpenAndLosesNoReport) {
    constexpr int kThreads = 4;
    const LoadShape shape = GetParam();
    const int perThread = shape.Rounds * shape.Burst;
    const size_t total = static_cast<size_t>(kThreads * perThread);
    SimPad pad;
    std::atomic<int> refused{0};
    std::atomic<DWORD> lastError{0};
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([&, t] {
            for (int i = 0; i < perThread; ++i) {
                const uint8_t bytes[4] = {static_cast<uint8_t>(t), static_cast<uint8_t>(i >> 8),
                                          static_cast<uint8_t>(i), 0xA5};
                const hosttools::WriteResult r = WriteOnce(pad.Path(), bytes, 4);
                if (!r.Written) {
                    ++refused;
                    lastError = r.OpenError;
                }
                if ((i + 1) % shape.Burst == 0) ::Sleep(shape.Pause);
            }
        });
    }
    for (auto& w : writers) w.join();
    EXPECT_EQ(refused.load(), 0) << "opens or writes refused, last error " << lastError.load();
    EXPECT_TRUE(pad.WaitForReports(total, 20000)) << "received " << pad.ReportCount() << " of " << total;

    std::set<uint32_t> distinct;
    int next[kThreads] = {};
    int outOfTurn = 0;
    int64_t lastTicks = 0;
    int stampsBack = 0;
    for (const PadReport& r : pad.Reports()) {
        EXPECT_EQ(r.Length, 4u);
        EXPECT_EQ(r.Bytes[3], 0xA5);
        distinct.insert(r.Bytes[0] << 16 | r.Bytes[1] << 8 | r.Bytes[2]);
        const int writer = r.Bytes[0] % kThreads;
        const int index = r.Bytes[1] << 8 | r.Bytes[2];
        if (index < next[writer]) ++outOfTurn;
        next[writer] = std::max(next[writer], index + 1);
        if (r.Ticks < lastTicks) ++stampsBack;
        lastTicks = r.Ticks;
    }
    EXPECT_EQ(distinct.size(), total) << "each report arrives exactly once";
    EXPECT_EQ(outOfTurn, 0) << "each writer's reports are listed in the order it sent them";
    EXPECT_EQ(stampsBack, 0) << "arrival times never go back";
    EXPECT_EQ(pad.OpenCount(), total);
}

INSTANTIATE_TEST_SUITE_P(Shapes, SimPadUnderLoad,
                         ::testing::Values(LoadShape{"OneReportPerMillisecond", 2500, 1, 1},
                                           LoadShape{"BurstsOfEight", 60, 8, 20}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(SimPadPlugging, AnUnpluggedPadIsNotFoundAndPluggingBringsItBack) {
    SimPad pad;
    pad.Unplug();
    EXPECT_FALSE(pad.IsPlugged());
    const uint8_t bytes[4] = {0, 8, 8, 0};
    const hosttools::WriteResult gone = WriteOnce(pad.Path(), bytes, 4);
    EXPECT_FALSE(gone.Opened);
    EXPECT_EQ(gone.OpenError, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    pad.Unplug();  // twice is harmless

    ASSERT_TRUE(pad.Plug());
    EXPECT_TRUE(pad.IsPlugged());
    EXPECT_TRUE(WriteOnce(pad.Path(), bytes, 4).Written);
    ASSERT_TRUE(pad.WaitForReports(1, kArrival));
    EXPECT_EQ(pad.Reports()[0].Motor2(), 8);
}
