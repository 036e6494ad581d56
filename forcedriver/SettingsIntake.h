// Reads the user's settings record for a joystick, once per bound device.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/JoySettingRecord.h"

namespace padforce {

struct DeviceSettings {
    uint32_t ProductId = 0;          // 0 when the joystick's capabilities are unknown
    pad::JoySettingRecord Record{};  // all zero unless a stored value was read
};

DeviceSettings LoadSettings(UINT joystickId);

}  // namespace padforce
