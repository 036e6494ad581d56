// The four bytes the pages send the pad's motors: {0, left, right, 0}, each
// motor 0 or a level up to 31 on the pages' own scale.
#pragma once

#include <array>
#include <cstdint>

namespace padpanel {

using MotorBytes = std::array<uint8_t, 4>;

// What a motor report asks for, and the page state it reads.
struct MotorRequest {
    bool LeftOff = false;
    bool RightOff = false;
    int32_t LeftLevel = 0;   // -1 with RightLevel -1: the constant level of the buttons that are down
    int32_t RightLevel = 0;
    uint32_t Strength = 0;   // MotorPower, 0..255
    bool AutoDown = false;
    bool LeftDown = false;
    bool RightDown = false;
};

// The constant level g = S x 21 / 255 + 10, 10..31.
inline uint8_t ConstantMotorLevel(uint32_t strength) { return static_cast<uint8_t>(strength * 21 / 255 + 10); }

MotorBytes MotorReportBytes(const MotorRequest& request);

inline bool AllZero(const MotorBytes& b) { return b[0] == 0 && b[1] == 0 && b[2] == 0 && b[3] == 0; }

}  // namespace padpanel
