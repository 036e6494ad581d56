// The soak's judgements: which motor reports break the rule for the driver
// and for the sheet, and which growth between two samples fails a run.
#include <gtest/gtest.h>

#include "tests/wine/soak/Growth.h"
#include "tests/wine/soak/ReportRule.h"

using soak::Sender;

TEST(ReportRule, TheDriverSendsOffOrAValueThatTurnsTheMotorTheSheetAnyValueOnItsScale) {
    struct Case {
        std::vector<uint8_t> Bytes;
        bool DriverKeeps;
        bool SheetKeeps;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, true, true},
        {{0, 0x1F, 0x08, 0}, true, true},
        {{0, 0x07, 0, 0}, false, true},   // the sheet's stick scale starts at 1; the driver's at 8
        {{0, 0, 0x01, 0}, false, true},
        {{0, 0x20, 0, 0}, false, false},  // past 31
        {{0, 0, 0xFF, 0}, false, false},
        {{1, 0x10, 0x10, 0}, false, false},  // report id
        {{0, 0x10, 0x10, 1}, false, false},  // last byte
        {{0, 0x10, 0x10}, false, false},     // short
        {{0, 0x10, 0x10, 0, 0}, false, false},  // long
    };
    for (const Case& c : cases) {
        const uint8_t head[4] = {c.Bytes.size() > 0 ? c.Bytes[0] : uint8_t{0}, c.Bytes.size() > 1 ? c.Bytes[1] : uint8_t{0},
                                 c.Bytes.size() > 2 ? c.Bytes[2] : uint8_t{0}, c.Bytes.size() > 3 ? c.Bytes[3] : uint8_t{0}};
        const auto length = static_cast<uint32_t>(c.Bytes.size());
        const std::string text = soak::ReportText(head, length);
        EXPECT_EQ(soak::ReportFault(head, length, Sender::Driver).empty(), c.DriverKeeps) << text;
        EXPECT_EQ(soak::ReportFault(head, length, Sender::Sheet).empty(), c.SheetKeeps) << text;
    }
}

TEST(Growth, EachFigureFailsOnlyPastItsOwnTolerance) {
    soak::Sample first;
    first.Handles = 2000;
    first.Threads = 60;
    first.Ledger = 40;
    first.Heap = 900 * 1024;
    first.Private = 60 * 1024 * 1024;
    EXPECT_TRUE(soak::Judge(first, first).Pass);

    struct Case {
        int64_t soak::Sample::*Field;
        int64_t Allowed;
    };
    const Case cases[] = {{&soak::Sample::Handles, 8}, {&soak::Sample::Threads, 1},     {&soak::Sample::Gdi, 2},
                          {&soak::Sample::Ledger, 2},  {&soak::Sample::User, 2},        {&soak::Sample::Heap, 16 * 1024},
                          {&soak::Sample::Private, 2 * 1024 * 1024}};
    for (const Case& c : cases) {
        soak::Sample last = first;
        last.*c.Field += c.Allowed;
        EXPECT_TRUE(soak::Judge(first, last).Pass) << "growth at the limit passes";
        last.*c.Field += 1;
        const soak::Verdict v = soak::Judge(first, last);
        EXPECT_FALSE(v.Pass) << "one past the limit fails";
        int flagged = 0;
        for (const std::string& line : v.Lines) flagged += line.find("TOO MUCH") != std::string::npos;
        EXPECT_EQ(flagged, 1) << "only the figure that grew is named";
    }
    soak::Sample shrunk = first;
    shrunk.Handles -= 500;
    shrunk.Heap -= 100 * 1024;
    EXPECT_TRUE(soak::Judge(first, shrunk).Pass) << "shrinking is never a fault";
}

TEST(Growth, ALongRunIsJudgedByTheMediansOfItsEndsSoOneNoisySampleNeitherFailsNorHidesGrowth) {
    const int64_t mb = 1024 * 1024;
    auto run = [&](std::vector<int64_t> privateMb) {
        std::vector<soak::Sample> samples(privateMb.size());
        for (size_t i = 0; i < samples.size(); ++i) samples[i].Private = privateMb[i] * mb;
        return soak::Judge(samples).Pass;
    };
    std::vector<int64_t> steady(59, 98);
    EXPECT_EQ(soak::EndSpan(steady.size()), 5u);
    EXPECT_EQ(soak::EndSpan(9), 1u) << "ten minutes judged from the second: first against last";
    EXPECT_EQ(soak::EndSpan(20), 3u) << "always an odd count";
    std::vector<int64_t> noisy = steady;
    noisy[1] = 95;    // a low sample near the start
    noisy[57] = 101;  // a high one near the end
    EXPECT_TRUE(run(noisy));
    std::vector<int64_t> leaking = steady;
    for (size_t i = 0; i < leaking.size(); ++i) leaking[i] += static_cast<int64_t>(i / 10);  // 1 MB per ten minutes
    EXPECT_FALSE(run(leaking)) << "98 -> 103 MB";
    std::vector<int64_t> lateStep = steady;
    for (size_t i = 56; i < lateStep.size(); ++i) lateStep[i] = 101;
    EXPECT_FALSE(run(lateStep)) << "three of the last five samples up 3 MB";
}
