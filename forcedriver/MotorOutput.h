// Writes one motor report to the pad's HID interface path. The path is opened
// anew for each report; a pad that is gone or refused drops it silently.
#pragma once

#include <cstdint>

namespace padforce {

void WriteMotorReport(const char* devicePath, int32_t level1, int32_t level2);

}  // namespace padforce
