// Many application threads working on several bound devices while their
// workers play: no crash, no deadlock, nothing left behind.
#include "tests/wine/padforce/DriverTestSupport.h"

#include <atomic>
#include <random>

#include "hosts/dihost/BuiltEffect.h"
#include "hosts/dihost/ProcessStats.h"
#include "common/win/UniqueResource.h"

namespace fftests {
namespace {

using padhost::BuiltEffect;
using padhost::EffectShape;

constexpr DWORD kDevices = 3;
constexpr int kThreads = 6;
constexpr DWORD kRunMs = 4000;

// One thread's share: its own effects on every device, downloaded, updated,
// started, stopped and destroyed in a random order, with a command now and then.
void Churn(IDirectInputEffectDriver* driver, unsigned seed, std::atomic<bool>& stop, std::atomic<long>& calls,
           std::atomic<long>& failures) {
    std::mt19937 rng(seed);
    std::vector<std::pair<DWORD, DWORD>> mine;  // (device, handle)
    while (!stop.load()) {
        const unsigned op = rng() % 10;
        const DWORD device = rng() % kDevices;
        HRESULT hr = S_OK;
        if (op < 3 || mine.empty()) {
            const uint32_t kind = rng() % 7;
            EffectShape s = EffectShape::Periodic(kind, rng() % 10001, 20000 + rng() % 200000, 10000 + rng() % 500000);
            s.EffectId = kind;
            s.Magnitude = static_cast<int32_t>(rng() % 10001);
            s.WithPolar(static_cast<int32_t>(rng() % 36000));
            if (rng() % 2) s.WithEnvelope(0, rng() % 100000, 0, rng() % 100000);
            BuiltEffect e(s);
            DWORD h = 0;
            hr = driver->DownloadEffect(device, e.EffectId(), &h, e.Get(), DIEP_ALLPARAMS | (rng() % 2 ? DIEP_START : 0));
            if (SUCCEEDED(hr) && h) mine.emplace_back(device, h);
        } else {
            const size_t pick = rng() % mine.size();
            const auto [dev, h] = mine[pick];
            switch (op) {
                case 3: {
                    BuiltEffect e(EffectShape::Periodic(padhost::kSine, rng() % 10001, 50000, padhost::kInfinite));
                    DWORD handle = h;
                    hr = driver->DownloadEffect(dev, e.EffectId(), &handle, e.Get(),
                                                DIEP_TYPESPECIFICPARAMS | DIEP_NORESTART);
                    break;
                }
                case 4: hr = driver->StartEffect(dev, h, 0, 1); break;
                case 5: hr = driver->StopEffect(dev, h); break;
                case 6: {
                    DWORD status = 0;
                    hr = driver->GetEffectStatus(dev, h, &status);
                    break;
                }
                case 7: {
                    DIDEVICESTATE state{sizeof state, 0, 0};
                    hr = driver->GetForceFeedbackState(dev, &state);
                    break;
                }
                case 8: hr = driver->SendForceFeedbackCommand(dev, rng() % 4 ? DISFFC_CONTINUE : DISFFC_PAUSE); break;
                default:
                    hr = driver->DestroyEffect(dev, h);
                    mine.erase(mine.begin() + static_cast<long>(pick));
                    break;
            }
        }
        ++calls;
        if (FAILED(hr)) ++failures;
    }
    for (const auto& [dev, h] : mine) driver->DestroyEffect(dev, h);
}

struct Work {
    IDirectInputEffectDriver* Driver;
    unsigned Seed;
    std::atomic<bool>* Stop;
    std::atomic<long>* Calls;
    std::atomic<long>* Failures;
};

DWORD WINAPI ChurnThread(void* p) {
    auto* w = static_cast<Work*>(p);
    Churn(w->Driver, w->Seed, *w->Stop, *w->Calls, *w->Failures);
    return 0;
}

// Binds every pad, lets `threads` churn for `ms`, releases the driver.
void RunCycle(simpad::SimPad (&pads)[kDevices], int threads, DWORD ms, long* callsOut, long* failuresOut) {
    std::string error;
    auto host = padhost::PadHost::Open(DriverPath(), &error);
    ASSERT_TRUE(host) << error;
    for (DWORD id = 0; id < kDevices; ++id) {
        ASSERT_EQ(host->Bind(id, pads[id]), S_OK);
        host->Driver()->SetGain(id, 10000);
    }
    std::atomic<bool> stop{false};
    std::atomic<long> calls{0}, failures{0};
    // Plain Win32 threads, as a game has them; their handles close at the join.
    std::vector<Work> work;
    for (int i = 0; i < threads; ++i) work.push_back({host->Driver(), 1234u + i, &stop, &calls, &failures});
    std::vector<win::UniqueHandle> workers;
    for (Work& w : work) {
        workers.emplace_back(::CreateThread(nullptr, 0, &ChurnThread, &w, 0, nullptr));
        ASSERT_TRUE(workers.back());
    }
    ::Sleep(ms);
    stop = true;
    // A deadlocked driver hangs here; CTest's timeout then fails the test.
    for (auto& t : workers) ASSERT_EQ(::WaitForSingleObject(t.get(), 60000), WAIT_OBJECT_0) << "a thread hangs";
    workers.clear();
    *callsOut = calls.load();
    *failuresOut = failures.load();
    EXPECT_EQ(host->Release(), 0u);
}

TEST(Threads, ManyThreadsOnSeveralDevicesRunWithoutCrashDeadlockOrLeak) {
    simpad::SimPad pads[kDevices];
    // The module stays loaded across the cycles: what is measured is the
    // driver's own objects, threads and handles, not what the loader and the
    // libraries below it keep from one load to the next.
    win::UniqueModule pinned(::LoadLibraryA(DriverPath().c_str()));
    ASSERT_TRUE(pinned);
    // Short first cycles make what stays once used (heap arenas, the thread
    // runtime's pool of thread records), so the counts below see the driver
    // alone: measured here, they settle after two cycles and then stay put.
    long calls = 0, failures = 0;
    for (int warm = 0; warm < 3; ++warm) {
        RunCycle(pads, kThreads, 300, &calls, &failures);
        for (auto& pad : pads) pad.WaitForQuiet(100, 5000), pad.Clear();
    }

    const DWORD handlesAtStart = padhost::ProcessHandleCount();
    const DWORD threadsAtStart = padhost::ProcessThreadCount();
    const size_t heapAtStart = padhost::HeapBytesInUse();
    // Three cycles: what a leak leaves grows with every cycle, what the
    // thread runtime makes once does not.
    for (DWORD ms : {kRunMs, 1000ul, 1000ul}) {
        RunCycle(pads, kThreads, ms, &calls, &failures);
        EXPECT_GT(calls, 1000) << "the threads made progress";
        EXPECT_EQ(failures, 0);
        for (const auto& pad : pads) {
            ASSERT_GT(pad.ReportCount(), 10u) << "every device played";
            EXPECT_TRUE(pad.Reports().back().IsAllOff()) << "each device ends all off";
        }
        for (auto& pad : pads) pad.WaitForQuiet(100, 5000), pad.Clear();
    }
    EXPECT_EQ(padhost::ProcessThreadCount(), threadsAtStart) << "every worker thread ended";
    // Pipe instances the pads re-arm come and go (the count is read once
    // settled); the thread runtimes make an event for one of their locks the
    // first time two threads meet there, once for the process, and a few such
    // firsts may fall in these cycles. A leak of the driver's would be larger:
    // a thread handle per device and cycle (nine here) or one per report
    // (thousands).
    EXPECT_LE(padhost::ProcessHandleCountSettled(handlesAtStart + 3), handlesAtStart + 3) << "every handle was closed";
    // Freed heap blocks are counted exactly; allow the heap's own bookkeeping.
    EXPECT_LT(padhost::HeapBytesInUse(), heapAtStart + 16 * 1024) << "memory was freed";
}

}  // namespace
}  // namespace fftests
