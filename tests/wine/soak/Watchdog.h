// Every soak thread says what it is doing and beats while it makes progress;
// one that has not beaten for a minute is hung: the watchdog names what each
// thread was doing and ends the process with a failure.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <string>
#include <thread>

#include "common/win/SrwLock.h"

namespace soak {

class Watchdog {
public:
    class Beat {
    public:
        void Doing(const char* what);  // also a beat
        void Idle() { Doing(nullptr); } // waiting for the soak, not the product: never hung
    private:
        friend class Watchdog;
        std::string name_;
        std::atomic<const char*> doing_{nullptr};
        std::atomic<uint32_t> since_{0};
    };

    explicit Watchdog(uint32_t limitMs = 60000) : limitMs_(limitMs) {}
    ~Watchdog() { Stop(); }

    // Beats live as long as the watchdog.
    Beat& Register(std::string name);
    void Start();
    void Stop();

private:
    void Watch();

    const uint32_t limitMs_;
    win::SrwLock m_;
    std::deque<Beat> beats_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace soak
