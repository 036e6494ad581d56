// Many application threads working on several bound devices while their
// worker threads play: no crash, no deadlock, and nothing left behind.
// Runs in a process of its own, so the counts compared are this test's.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "hosts/dihost/DriverModule.h"
#include "hosts/dihost/ProcessStats.h"
#include "hosts/dihost/SettingsKey.h"
#include "tests/wine/forcedriver/DriverUnderTest.h"
#include "tests/wine/forcedriver/PadWatch.h"

using namespace fftest;
using padhost::BuiltEffect;
using padhost::EffectShape;
using padhost::kInfinite;

namespace {

constexpr DWORD kDevices[] = {0, 5, 15};
constexpr int kAppThreads = 8;

// A small generator of our own: each thread repeats its own sequence.
class Dice {
public:
    explicit Dice(uint32_t seed) : state_(seed * 2654435761u + 1) {}
    uint32_t Roll(uint32_t n) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % n;
    }

private:
    uint32_t state_;
};

std::unique_ptr<BuiltEffect> RandomEffect(Dice& dice) {
    const uint32_t kind = dice.Roll(7);
    const DWORD durations[] = {10000, 50000, 200000, kInfinite};
    const DWORD duration = durations[dice.Roll(4)];
    const LONG magnitude = static_cast<LONG>(dice.Roll(20001)) - 10000;
    EffectShape effectShape = kind == padhost::kConstant ? EffectShape::Constant(magnitude, duration)
                      : kind == padhost::kRamp  ? EffectShape::Ramp(magnitude, -magnitude, duration)
                                                : EffectShape::Periodic(kind, dice.Roll(10001), 20000 + dice.Roll(200000), duration);
    effectShape.WithPolar(static_cast<LONG>(dice.Roll(36000)));
    if (dice.Roll(3) == 0) effectShape.WithEnvelope(dice.Roll(10001), dice.Roll(100000), dice.Roll(10001), dice.Roll(100000));
    return std::make_unique<BuiltEffect>(effectShape);
}

struct Tally {
    std::atomic<unsigned> Calls{0};
    std::atomic<unsigned> Unexpected{0};
    std::atomic<int> Finished{0};
};

// One application thread: downloads, updates, starts, stops and destroys
// effects of its own on every device, with now and then a device-wide command.
void Work(IDirectInputEffectDriver* driver, int seed, DWORD runMs, Tally& tally) {
    Dice dice(static_cast<uint32_t>(seed));
    std::vector<DWORD> mine[16];
    const auto check = [&](HRESULT hr, HRESULT expected) {
        ++tally.Calls;
        if (hr != expected) ++tally.Unexpected;
    };
    const DWORD start = ::GetTickCount();
    for (unsigned op = 0; ::GetTickCount() - start < runMs; ++op) {
        const DWORD id = kDevices[dice.Roll(3)];
        std::vector<DWORD>& handles = mine[id];
        const uint32_t roll = dice.Roll(100);
        if (roll < 25 && handles.size() < 12) {
            auto effect = RandomEffect(dice);
            DWORD handle = 0;
            const DWORD flags = DIEP_ALLPARAMS | (dice.Roll(2) ? DIEP_START : 0);
            check(driver->DownloadEffect(id, effect->EffectId(), &handle, effect->Get(), flags), S_OK);
            if (handle) handles.push_back(handle);
        } else if (roll < 40 && !handles.empty()) {
            auto effect = RandomEffect(dice);
            DWORD handle = handles[dice.Roll(static_cast<uint32_t>(handles.size()))];
            const DWORD choices[] = {DIEP_TYPESPECIFICPARAMS, DIEP_DIRECTION, DIEP_GAIN | DIEP_NORESTART,
                                     DIEP_ENVELOPE | DIEP_START, DIEP_DURATION | DIEP_TYPESPECIFICPARAMS | DIEP_START};
            // Another thread's reset may have taken the effect: the update then changes nothing.
            check(driver->DownloadEffect(id, effect->EffectId(), &handle, effect->Get(), choices[dice.Roll(5)]), S_OK);
        } else if (roll < 55 && !handles.empty()) {
            check(driver->StartEffect(id, handles[dice.Roll(static_cast<uint32_t>(handles.size()))], 0, 1), S_OK);
        } else if (roll < 65 && !handles.empty()) {
            check(driver->StopEffect(id, handles[dice.Roll(static_cast<uint32_t>(handles.size()))]), S_OK);
        } else if (roll < 80 && !handles.empty()) {
            const size_t at = dice.Roll(static_cast<uint32_t>(handles.size()));
            check(driver->DestroyEffect(id, handles[at]), S_OK);
            handles.erase(handles.begin() + static_cast<ptrdiff_t>(at));
        } else if (roll < 88) {
            DWORD status = 0;
            check(driver->GetEffectStatus(id, handles.empty() ? 1 : handles[0], &status), S_OK);
            if (status > 1) ++tally.Unexpected;
        } else if (roll < 92) {
            DIDEVICESTATE state{};
            state.dwSize = sizeof state;
            check(driver->GetForceFeedbackState(id, &state), S_OK);
        } else if (roll < 95) {
            check(driver->SetGain(id, 5000 + dice.Roll(5001)), S_OK);
        } else if (roll < 99) {
            const DWORD commands[] = {DISFFC_STOPALL, DISFFC_PAUSE, DISFFC_CONTINUE, DISFFC_CONTINUE};
            check(driver->SendForceFeedbackCommand(id, commands[dice.Roll(4)]), S_OK);
        } else {
            // Ids the driver does not hold: never bound, or out of range.
            check(driver->StartEffect(9, 1, 0, 1), S_OK);
            check(driver->StopEffect(16, 1), E_FAIL);
        }
        if (op % 64 == 63) ::Sleep(1);
    }
    for (DWORD id : kDevices)
        for (DWORD handle : mine[id]) check(driver->DestroyEffect(id, handle), S_OK);
    ++tally.Finished;
}

struct RoundResult {
    unsigned Calls = 0;
    size_t ReportsPerPad[3] = {};
};

// One host, three bound pads, the application threads for runMs, then the
// final Release; everything made here is gone when it returns.
RoundResult PlayRound(DWORD runMs) {
    RoundResult result;
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    Rig rig;
    if (!rig.Ok()) return result;
    for (DWORD id : kDevices)
        if (!rig.Bind(id)) return result;

    Tally tally;
    std::vector<std::thread> threads;
    for (int t = 0; t < kAppThreads; ++t)
        threads.emplace_back(Work, rig.Driver(), t + 1, runMs, std::ref(tally));
    // A deadlock would hang the joins; say so and end the process instead.
    if (!WaitUntil([&] { return tally.Finished.load() == kAppThreads; }, runMs + 30000)) {
        std::fprintf(stderr, "application threads still blocked %lu ms after they should have ended: deadlock\n",
                     static_cast<unsigned long>(30000));
        std::fflush(stderr);
        std::_Exit(3);
    }
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(tally.Unexpected.load(), 0u) << "calls answered other than S_OK (E_FAIL for id 16)";
    result.Calls = tally.Calls.load();

    for (int i = 0; i < 3; ++i) result.ReportsPerPad[i] = rig.Pad(kDevices[i]).ReportCount();
    EXPECT_EQ(rig.Release(), 0u);
    for (DWORD id : kDevices) {
        rig.Pad(id).WaitForQuiet(50, 1000);
        const Reports r = rig.Pad(id).Reports();
        EXPECT_TRUE(!r.empty() && r.back().IsAllOff()) << "joystick id " << id << " ends all off";
        EXPECT_FALSE(MotorValues(r).AnyMalformed) << "joystick id " << id << ": " << Describe(r);
    }
    return result;
}

}  // namespace

TEST(Threads, ManyApplicationThreadsOnSeveralDevicesLeaveNoCrashDeadlockOrLeak) {
    // DirectInput keeps the driver loaded while a game runs, and so does
    // this test: each load and unload of the DLL costs 12 handles in Wine's
    // winmm and 2 handles and some 19 KB in the statically linked C++
    // runtime, the same for any such DLL, which no driver code can give back.
    std::string error;
    const auto keepLoaded = padhost::DriverModule::Load(DriverPath(), &error);
    ASSERT_TRUE(keepLoaded) << error;
    // Short rounds first make what the process keeps once made: the
    // driver's module state, Wine's pipe and registry plumbing.
    PlayRound(500);
    PlayRound(300);
    const DWORD threadsBefore = padhost::ProcessThreadCount();
    const DWORD handlesBefore = padhost::ProcessHandleCount();
    const size_t heapBefore = padhost::HeapBytesInUse();

    const RoundResult round = PlayRound(4000);
    // Two more rounds: what a leak leaves grows with every round, what the
    // thread runtime makes once does not.
    PlayRound(1000);
    PlayRound(1000);

    const DWORD threadsAfter = padhost::ProcessThreadCount();
    const DWORD handlesAfter = padhost::ProcessHandleCountSettled(handlesBefore + 3);
    const size_t heapAfter = padhost::HeapBytesInUse();
    EXPECT_GT(round.Calls, 10000u) << "the threads got little done";
    for (size_t reports : round.ReportsPerPad)
        EXPECT_GT(reports, 200u) << "a device's worker barely played while the application threads worked";
    EXPECT_EQ(threadsAfter, threadsBefore) << "threads left running";
    ASSERT_GT(handlesBefore, 0u) << "the handle count cannot be read here";
    // The thread runtimes (the program's, and the driver's own static copy)
    // make an event for one of their locks the first time two threads meet
    // there, once for the process: a few such firsts may fall in these
    // rounds. A leak of the driver's is a handle per device and round (nine)
    // or per report (thousands).
    EXPECT_LE(handlesAfter, handlesBefore + 3) << "handles left open";
    // Heap blocks in use are counted block by block, not by pages, so no
    // freed page the heap keeps can blur the comparison.
    EXPECT_EQ(heapAfter, heapBefore) << "heap in use grew by " << static_cast<long long>(heapAfter) - static_cast<long long>(heapBefore)
                                     << " bytes over " << round.Calls << " calls";
}
