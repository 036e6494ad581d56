// Many users at once, or one alone: game calls share a device (or the whole
// driver), a check or a re-plug takes it for itself. Whoever closes the gate
// is let in as soon as the users inside have left, however many queue behind.
#pragma once

#include <condition_variable>
#include <mutex>

namespace soak {

class Gate {
public:
    // False when the gate is closed (the caller picks something else).
    bool TryEnter() {
        std::lock_guard<std::mutex> lock(m_);
        if (closed_) return false;
        ++inside_;
        return true;
    }
    void Enter() {
        std::unique_lock<std::mutex> lock(m_);
        changed_.wait(lock, [&] { return !closed_; });
        ++inside_;
    }
    void Leave() {
        std::lock_guard<std::mutex> lock(m_);
        --inside_;
        changed_.notify_all();
    }
    // Waits for its own turn to close, then for the users inside to leave.
    void Close() {
        std::unique_lock<std::mutex> lock(m_);
        changed_.wait(lock, [&] { return !closed_; });
        closed_ = true;
        changed_.wait(lock, [&] { return inside_ == 0; });
    }
    void Open() {
        std::lock_guard<std::mutex> lock(m_);
        closed_ = false;
        changed_.notify_all();
    }

private:
    std::mutex m_;
    std::condition_variable changed_;
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
