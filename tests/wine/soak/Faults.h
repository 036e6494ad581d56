// What a soak found wrong, from any thread: each fault printed as it is
// found (the first few of a kind in full), all of them counted.
#pragma once

#include <atomic>
#include <cstdio>
#include <string>

#include "common/win/CriticalSection.h"
#include "common/win/SrwLock.h"

namespace soak {

class Faults {
public:
    void Add(const std::string& what) {
        win::ScopedLock<win::SrwLock> lock(m_);
        if (++count_ <= kPrinted) {
            std::printf("soak: FAULT: %s\n", what.c_str());
            std::fflush(stdout);
        }
    }
    int Count() const {
        win::ScopedLock<win::SrwLock> lock(m_);
        return count_;
    }

private:
    static constexpr int kPrinted = 40;
    mutable win::SrwLock m_;
    int count_ = 0;
};

}  // namespace soak
