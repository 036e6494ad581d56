// Settings records as the property sheet would store them for the driver.
#pragma once

#include <cstdint>
#include <string>

#include "common/JoySettingRecord.h"

namespace padhost {

// The record the sheet builds from scratch when it has no Setup.ini:
// buttons in order, no turbo or keys, X and Y calibrated wide, vibration 63/63/manual.
pad::JoySettingRecord PanelDefaultRecord();

// The default record with the three vibration fields the driver reads.
pad::JoySettingRecord VibrationRecord(uint32_t motorPower, uint32_t timeCycle, uint32_t autoMode);

// "Software\ZevEreRaverav\47" for product id 0xA02F: the key both sides use.
std::string SettingsKeyName(uint32_t productId);

}  // namespace padhost
