// When a run of failed polls means the pad is gone: the fourth failure that
// comes 500 ms or more after the first of an unbroken run.
#pragma once

#include <cstdint>

namespace padpanel {

inline constexpr uint32_t kDeviceLossGraceMs = 500;
inline constexpr uint32_t kDeviceLossExtraFailures = 3;

class DeviceLossCounter {
public:
    // Called after a failed poll; true when the device is to be declared lost.
    // Times are GetTickCount milliseconds; the difference is taken modulo 2^32.
    bool OnFailedPoll(uint32_t nowMs);
    // Any good poll on any page ends the run.
    void OnGoodPoll() {
        count_ = 0;
        firstMs_ = 0;
    }

    uint32_t FailureCount() const { return count_; }
    uint32_t FirstFailureMs() const { return firstMs_; }

private:
    uint32_t count_ = 0;
    uint32_t firstMs_ = 0;  // 0: no failure pending
};

}  // namespace padpanel
