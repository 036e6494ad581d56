// What a soak found wrong, from any thread: each fault printed as it is
// found (the first few of a kind in full), all of them counted.
#pragma once

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

namespace soak {

class Faults {
public:
    void Add(const std::string& what) {
        std::lock_guard<std::mutex> lock(m_);
        if (++count_ <= kPrinted) {
            std::printf("soak: FAULT: %s\n", what.c_str());
            std::fflush(stdout);
        }
    }
    int Count() const {
        std::lock_guard<std::mutex> lock(m_);
        return count_;
    }

private:
    static constexpr int kPrinted = 40;
    mutable std::mutex m_;
    int count_ = 0;
};

}  // namespace soak
