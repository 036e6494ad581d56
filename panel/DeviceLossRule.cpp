#include "panel/DeviceLossRule.h"

namespace padpanel {

bool DeviceLossCounter::OnFailedPoll(uint32_t nowMs) {
    // 0 means "nothing pending", so a run that starts at tick 0 is dated 1.
    const uint32_t stamp = nowMs ? nowMs : 1;
    if (firstMs_ == 0) {
        count_ = 0;
        firstMs_ = stamp;
        return false;
    }
    if (static_cast<uint32_t>(nowMs - firstMs_) < kDeviceLossGraceMs) return false;
    if (count_ < kDeviceLossExtraFailures) {
        ++count_;
        return false;
    }
    firstMs_ = stamp;
    return true;
}

}  // namespace padpanel
