// A slim reader/writer lock and a condition variable on it: neither takes a
// kernel object, ever, so a process's handle count stays its own business
// however often they are contended. For the test tools, which run on
// Windows Vista and later (and Wine); the deliverables keep to XP's calls.
#pragma once

#include <windows.h>

#if _WIN32_WINNT < 0x0600
extern "C" {
WINBASEAPI VOID WINAPI AcquireSRWLockExclusive(PSRWLOCK lock);
WINBASEAPI VOID WINAPI ReleaseSRWLockExclusive(PSRWLOCK lock);
WINBASEAPI BOOL WINAPI SleepConditionVariableSRW(PCONDITION_VARIABLE cv, PSRWLOCK lock, DWORD ms, ULONG flags);
WINBASEAPI VOID WINAPI WakeAllConditionVariable(PCONDITION_VARIABLE cv);
}
#endif

namespace win {

class SrwLock {
public:
    SrwLock() = default;
    SrwLock(const SrwLock&) = delete;
    SrwLock& operator=(const SrwLock&) = delete;

    void Lock() { ::AcquireSRWLockExclusive(&lock_); }
    void Unlock() { ::ReleaseSRWLockExclusive(&lock_); }
    SRWLOCK* Get() { return &lock_; }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};

class ConditionVariable {
public:
    ConditionVariable() = default;
    ConditionVariable(const ConditionVariable&) = delete;
    ConditionVariable& operator=(const ConditionVariable&) = delete;

    // With the lock held; returns with it held, woken or after ms.
    void Wait(SrwLock& lock, DWORD ms = INFINITE) { ::SleepConditionVariableSRW(&cv_, lock.Get(), ms, 0); }
    // Waits until done() holds (true) or ms have passed (done() as it then is).
    template <class Done>
    bool WaitUntil(SrwLock& lock, DWORD ms, Done done) {
        const DWORD start = ::GetTickCount();
        while (!done()) {
            const DWORD spent = ::GetTickCount() - start;
            if (ms != INFINITE && spent >= ms) return done();
            Wait(lock, ms == INFINITE ? INFINITE : ms - spent);
        }
        return true;
    }
    void WakeAll() { ::WakeAllConditionVariable(&cv_); }

private:
    CONDITION_VARIABLE cv_ = CONDITION_VARIABLE_INIT;
};

}  // namespace win
