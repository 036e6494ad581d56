// The worker thread's state machine on real Win32 threads.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <atomic>

#include "forcedriver/WorkerThread.h"

namespace {

using padforce::WorkerThread;

class CountingWorker final : public WorkerThread {
public:
    explicit CountingWorker(std::atomic<bool>* destroyedAfterThreadEnded = nullptr)
        : WorkerThread(nullptr, nullptr), flag_(destroyedAfterThreadEnded) {}
    ~CountingWorker() override {
        Join();
        if (flag_) *flag_ = threadEnded.load();
    }
    bool CanPause() const override { return false; }
    bool Step() override {
        ++steps;
        ::Sleep(1);
        if (failAfter && steps.load() >= failAfter) return false;
        return true;
    }
    bool OnAbort() override {
        aborted = true;
        return true;
    }
    std::atomic<int> steps{0};
    std::atomic<bool> aborted{false};
    std::atomic<bool> threadEnded{false};
    int failAfter = 0;

private:
    std::atomic<bool>* flag_;
};

bool WaitFor(const std::atomic<int>& counter, int atLeast, DWORD timeoutMs = 10000) {
    const DWORD start = ::GetTickCount();
    while (counter.load() < atLeast) {
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(1);
    }
    return true;
}

int ThreadCountOfProcess() {
    // The number of threads is what tells whether a second one was created.
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 te{};
    te.dwSize = sizeof te;
    int n = 0;
    for (BOOL ok = ::Thread32First(snap, &te); ok; ok = ::Thread32Next(snap, &te))
        if (te.th32OwnerProcessID == ::GetCurrentProcessId()) ++n;
    ::CloseHandle(snap);
    return n;
}

TEST(WorkerThread, StartRunsTheStepLoopOnItsOwnThread) {
    CountingWorker w;
    EXPECT_EQ(w.GetState(), WorkerThread::Idle);
    EXPECT_EQ(w.GetThreadId(), static_cast<DWORD>(-1));
    ASSERT_TRUE(w.Start());
    ASSERT_TRUE(WaitFor(w.steps, 5)) << "the loop never called Step";
    EXPECT_EQ(w.GetState(), WorkerThread::Running);
    EXPECT_NE(w.GetThreadId(), ::GetCurrentThreadId());
}

TEST(WorkerThread, StartOnARunningObjectFailsAndCreatesNoSecondThread) {
    CountingWorker w;
    ASSERT_TRUE(w.Start());
    ASSERT_TRUE(WaitFor(w.steps, 1));
    const int threads = ThreadCountOfProcess();
    const DWORD id = w.GetThreadId();
    EXPECT_FALSE(w.Start());
    EXPECT_EQ(ThreadCountOfProcess(), threads);
    EXPECT_EQ(w.GetThreadId(), id);
}

TEST(WorkerThread, StopRequestHaltsTheLoopAndItCanBeStartedAgain) {
    CountingWorker w;
    ASSERT_TRUE(w.Start());
    ASSERT_TRUE(WaitFor(w.steps, 1));
    EXPECT_TRUE(w.RequestStop());
    const DWORD start = ::GetTickCount();
    while (w.GetState() != WorkerThread::Halted && ::GetTickCount() - start < 10000) ::Sleep(1);
    ASSERT_EQ(w.GetState(), WorkerThread::Halted);
    const int steps = w.steps.load();
    ::Sleep(50);
    EXPECT_EQ(w.steps.load(), steps) << "no step runs after the loop halted";
    ASSERT_TRUE(w.Start());
    EXPECT_TRUE(WaitFor(w.steps, steps + 3));
}

TEST(WorkerThread, StopBeforeAnyStartGoesStraightToHalted) {
    CountingWorker w;
    EXPECT_TRUE(w.RequestStop());
    EXPECT_EQ(w.GetState(), WorkerThread::Halted);
}

TEST(WorkerThread, DestroyingAnObjectThatNeverStartedReturnsAtOnce) {
    const DWORD start = ::GetTickCount();
    { CountingWorker w; }
    EXPECT_LT(::GetTickCount() - start, 2000u);
}

TEST(WorkerThread, DestroyingARunningObjectReturnsOnlyAfterItsThreadEnded) {
    std::atomic<bool> ended{false};
    DWORD threadId = 0;
    {
        CountingWorker w(&ended);
        ASSERT_TRUE(w.Start());
        ASSERT_TRUE(WaitFor(w.steps, 1));
        threadId = w.GetThreadId();
    }
    HANDLE t = ::OpenThread(SYNCHRONIZE, FALSE, threadId);
    if (t) {
        EXPECT_EQ(::WaitForSingleObject(t, 0), WAIT_OBJECT_0) << "the thread still runs after destruction";
        ::CloseHandle(t);
    }
}

TEST(WorkerThread, AStepThatFailsAbortsTheLoop) {
    CountingWorker w;
    w.failAfter = 3;
    ASSERT_TRUE(w.Start());
    const DWORD start = ::GetTickCount();
    while (w.GetState() != WorkerThread::Aborted && ::GetTickCount() - start < 10000) ::Sleep(1);
    EXPECT_EQ(w.GetState(), WorkerThread::Aborted);
    EXPECT_TRUE(w.aborted.load());
    EXPECT_FALSE(w.Start()) << "an aborted object does not start again";
}

TEST(WorkerThread, PauseIsRefusedWhenTheObjectCannotPause) {
    CountingWorker w;
    ASSERT_TRUE(w.Start());
    ASSERT_TRUE(WaitFor(w.steps, 1));
    EXPECT_FALSE(w.RequestPause());
    EXPECT_FALSE(w.RequestResume());
    EXPECT_EQ(w.GetState(), WorkerThread::Running);
}

}  // namespace
