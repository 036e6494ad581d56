// Registry paths the setup tools format, all relative to HKEY_LOCAL_MACHINE.
#pragma once

#include <string>

namespace padsetup {

// "<prefix>%02x": the OEM type key of the product with this low byte.
std::string OemTypeKeyPath(unsigned productLowByte);
// "<prefix>%02x\Axes\%d"
std::string AxisKeyPath(unsigned productLowByte, int axis);
// "<prefix>%02x\OEMForceFeedback"
std::string ForceFeedbackKeyPath(unsigned productLowByte);

// "ENUM\HID\%s" and "ENUM\USB\%s" for one device id of the product table.
std::string HidEnumKeyPath(const char* deviceId);
std::string UsbEnumKeyPath(const char* deviceId);

}  // namespace padsetup
