#include "tests/wine/soak/Watchdog.h"

#include <windows.h>

#include <cstdio>

#include "common/win/CriticalSection.h"

namespace soak {

void Watchdog::Beat::Doing(const char* what) {
    since_.store(::GetTickCount());
    doing_.store(what);
}

Watchdog::Beat& Watchdog::Register(std::string name) {
    win::ScopedLock<win::SrwLock> lock(m_);
    beats_.emplace_back();
    beats_.back().name_ = std::move(name);
    beats_.back().since_.store(::GetTickCount());
    return beats_.back();
}

void Watchdog::Start() { thread_ = std::thread([this] { Watch(); }); }

void Watchdog::Stop() {
    stop_.store(true);
    if (thread_.joinable()) thread_.join();
}

void Watchdog::Watch() {
    while (!stop_.load()) {
        ::Sleep(500);
        win::ScopedLock<win::SrwLock> lock(m_);
        const uint32_t now = ::GetTickCount();
        bool hung = false;
        for (const Beat& b : beats_)
            if (b.doing_.load() && now - b.since_.load() > limitMs_) hung = true;
        if (!hung) continue;
        std::printf("soak: FAIL: hang: a thread made no progress for %u s\n", limitMs_ / 1000);
        for (const Beat& b : beats_) {
            const char* doing = b.doing_.load();
            std::printf("soak:   %-12s %s, %u ms ago\n", b.name_.c_str(), doing ? doing : "(waiting on the soak)",
                        now - b.since_.load());
        }
        std::fflush(stdout);
        ::TerminateProcess(::GetCurrentProcess(), 3);
    }
}

}  // namespace soak
