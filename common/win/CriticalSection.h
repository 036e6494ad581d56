// A critical section that lives exactly as long as its owner, and a guard.
#pragma once

#include <windows.h>

namespace win {

class CriticalSection {
public:
    CriticalSection() { ::InitializeCriticalSection(&cs_); }
    // A waiter spins this many times before it sleeps: for locks held a
    // few microseconds by busy threads.
    explicit CriticalSection(DWORD spins) { ::InitializeCriticalSectionAndSpinCount(&cs_, spins); }
    ~CriticalSection() { ::DeleteCriticalSection(&cs_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() { ::EnterCriticalSection(&cs_); }
    void Leave() { ::LeaveCriticalSection(&cs_); }

private:
    CRITICAL_SECTION cs_;
};

// Works with anything that has Lock/Unlock or Enter/Leave.
template <class Lockable>
class ScopedLock {
public:
    explicit ScopedLock(Lockable& l) : l_(l) { Acquire(l_, 0); }
    ~ScopedLock() { Release(l_, 0); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    template <class L>
    static auto Acquire(L& l, int) -> decltype(l.Enter()) { l.Enter(); }
    template <class L>
    static auto Acquire(L& l, long) -> decltype(l.Lock()) { l.Lock(); }
    template <class L>
    static auto Release(L& l, int) -> decltype(l.Leave()) { l.Leave(); }
    template <class L>
    static auto Release(L& l, long) -> decltype(l.Unlock()) { l.Unlock(); }
    Lockable& l_;
};

}  // namespace win
