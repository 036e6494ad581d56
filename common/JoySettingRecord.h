// The pad's settings record: 112 bytes, little-endian, stored as "CurrentValue"
// under HKLM\Software\ZevEreRaverav\<model>. The panel writes it, the force
// driver reads its vibration fields. Both modules compile this header.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pad {

inline constexpr int kButtonCount = 12;
inline constexpr int kCalibratedAxisCount = 5;  // X, Y, RX, RY, Z

#pragma pack(push, 1)
struct JoySettingRecord {
    uint8_t ButtonMap[kButtonCount];       // logical button of physical button i + 1
    uint8_t TurboFlags[kButtonCount];      // nonzero: turbo on for logical button i + 1
    uint32_t KeyCodes[kButtonCount];       // usage | Ctrl<<16 | Shift<<17 | Alt<<18
    uint32_t AxisCalibration[kCalibratedAxisCount];
    uint32_t Sensitivity;                  // 0, 1 or 2
    uint32_t TimeCycle;                    // vibration period level 0..255
    uint32_t MotorPower;                   // vibration strength level
    uint32_t AutoMode;                     // 1: random period
    uint32_t SpareFlag;                    // carried, never interpreted
};
#pragma pack(pop)

inline constexpr uint32_t kSettingsRecordSize = 112;

static_assert(sizeof(JoySettingRecord) == kSettingsRecordSize, "record is 112 bytes");
static_assert(offsetof(JoySettingRecord, TurboFlags) == 12, "layout");
static_assert(offsetof(JoySettingRecord, KeyCodes) == 24, "layout");
static_assert(offsetof(JoySettingRecord, AxisCalibration) == 72, "layout");
static_assert(offsetof(JoySettingRecord, Sensitivity) == 92, "layout");
static_assert(offsetof(JoySettingRecord, TimeCycle) == 96, "layout");
static_assert(offsetof(JoySettingRecord, MotorPower) == 100, "layout");
static_assert(offsetof(JoySettingRecord, AutoMode) == 104, "layout");
static_assert(offsetof(JoySettingRecord, SpareFlag) == 108, "layout");

}  // namespace pad
