// Many users at once, or one alone: game calls share a device (or the whole
// driver), a check or a re-plug takes it for itself. Whoever closes the gate
// is let in as soon as the users inside have left, however many queue behind.
// Its locks take no kernel object: the soak's counts are the product's.
#pragma once

#include "common/win/CriticalSection.h"
#include "common/win/SrwLock.h"

namespace soak {

class Gate {
public:
    // False when the gate is closed (the caller picks something else).
    bool TryEnter() {
        win::ScopedLock<win::SrwLock> lock(m_);
        if (closed_) return false;
        ++inside_;
        return true;
    }
    void Enter() {
        win::ScopedLock<win::SrwLock> lock(m_);
        changed_.WaitUntil(m_, INFINITE, [&] { return !closed_; });
        ++inside_;
    }
    void Leave() {
        win::ScopedLock<win::SrwLock> lock(m_);
        --inside_;
        changed_.WakeAll();
    }
    // Waits for its own turn to close, then for the users inside to leave.
    void Close() {
        win::ScopedLock<win::SrwLock> lock(m_);
        changed_.WaitUntil(m_, INFINITE, [&] { return !closed_; });
        closed_ = true;
        changed_.WaitUntil(m_, INFINITE, [&] { return inside_ == 0; });
    }
    void Open() {
        win::ScopedLock<win::SrwLock> lock(m_);
        closed_ = false;
        changed_.WakeAll();
    }

private:
    win::SrwLock m_;
    win::ConditionVariable changed_;
    int inside_ = 0;
    bool closed_ = false;
};

// Inside for a scope, if let in.
class Visit {
public:
    explicit Visit(Gate& gate, bool wait = false) : gate_(gate), in_(wait ? (gate.Enter(), true) : gate.TryEnter()) {}
    ~Visit() {
        if (in_) gate_.Leave();
    }
    Visit(const Visit&) = delete;
    Visit& operator=(const Visit&) = delete;
    explicit operator bool() const { return in_; }

private:
    Gate& gate_;
    bool in_;
};

// Alone for a scope.
class Closed {
public:
    explicit Closed(Gate& gate) : gate_(gate) { gate_.Close(); }
    ~Closed() { gate_.Open(); }
    Closed(const Closed&) = delete;
    Closed& operator=(const Closed&) = delete;

private:
    Gate& gate_;
};

}  // namespace soak
