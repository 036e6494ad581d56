// Registry key paths of the setup tools, formatted into caller buffers.
// Each returns false, with an empty string, when the path does not fit.
#pragma once

#include <cstddef>

namespace padsetup {

// The OEM type key: prefix, then the low byte as "%02x".
bool FormatOemTypeKey(char* out, size_t size, unsigned lowByte);
// "<OEM type key>\Axes\<axis>".
bool FormatOemAxisKey(char* out, size_t size, unsigned lowByte, int axis);
// "<OEM type key>\OEMForceFeedback".
bool FormatOemForceFeedbackKey(char* out, size_t size, unsigned lowByte);

// The two device-registry branches the remover deletes a product from.
enum class DeviceBranch { Hid, Usb };
// "ENUM\HID\<device id>" or "ENUM\USB\<device id>".
bool FormatDeviceEnumKey(char* out, size_t size, DeviceBranch branch, const char* deviceId);

// The remover's path buffer.
inline constexpr size_t kRemoverPathSize = 260;

}  // namespace padsetup
