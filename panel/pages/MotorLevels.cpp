#include "panel/pages/MotorLevels.h"

namespace padpanel {

namespace {

uint8_t Scaled(int32_t level) {
    const int32_t capped = level > 255 ? 255 : level < 0 ? 0 : level;
    return static_cast<uint8_t>(capped * 31 / 255);
}

}  // namespace

MotorBytes MotorReportBytes(const MotorRequest& r) {
    const uint8_t g = ConstantMotorLevel(r.Strength > 255 ? 255 : r.Strength);
    MotorBytes b{};
    if (r.LeftOff || r.RightOff) {
        b[1] = r.LeftOff ? 0 : g;
        b[2] = r.RightOff ? 0 : g;
    } else if (r.LeftLevel == -1 && r.RightLevel == -1) {
        if (r.AutoDown) {
            b[1] = b[2] = g;
        } else {
            if (r.LeftDown) b[1] = g;
            if (r.RightDown) b[2] = g;
        }
    } else {
        if (r.LeftDown) b[1] = Scaled(r.LeftLevel);
        if (r.RightDown) b[2] = Scaled(r.RightLevel);
    }
    return b;
}

}  // namespace padpanel
