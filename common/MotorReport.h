// The pad's 4-byte HID output report: {0x00, motor 1, motor 2, 0x00}.
#pragma once

#include <array>
#include <cstdint>

namespace pad {

struct MotorReport {
    uint8_t ReportId;
    uint8_t Motor1;  // left motor
    uint8_t Motor2;  // right motor
    uint8_t Reserved;
};
static_assert(sizeof(MotorReport) == 4, "the pad takes exactly four bytes");

// Level 0..10000 to the motor's value: 0 is off, otherwise 8..31.
// Values 1 to 7 do not turn the motor and are never sent.
constexpr uint8_t MotorValueFromLevel(int32_t level) {
    if (level == 0) return 0;
    return static_cast<uint8_t>(8u + static_cast<uint32_t>(level) * 23u / 10000u);
}

constexpr MotorReport MakeMotorReport(int32_t level1, int32_t level2) {
    return MotorReport{0, MotorValueFromLevel(level1), MotorValueFromLevel(level2), 0};
}

}  // namespace pad
