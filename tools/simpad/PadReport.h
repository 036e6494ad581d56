// One report as the simulated pad received it.
#pragma once

#include <cstdint>

namespace simpad {

struct PadReport {
    uint8_t Bytes[4] = {};  // the first four bytes of the message
    uint32_t Length = 0;    // bytes the client actually wrote in this message
    int64_t Ticks = 0;      // performance counter ticks since the pad was created
    int64_t Frequency = 1;  // performance counter ticks per second

    double Ms() const { return static_cast<double>(Ticks) * 1000.0 / static_cast<double>(Frequency); }
    uint8_t Motor1() const { return Bytes[1]; }
    uint8_t Motor2() const { return Bytes[2]; }
    bool IsAllOff() const { return Length == 4 && !Bytes[0] && !Bytes[1] && !Bytes[2] && !Bytes[3]; }
};

}  // namespace simpad
