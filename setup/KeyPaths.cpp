#include "setup/KeyPaths.h"

#include <cstdarg>
#include <cstdio>

#include "setup/SetupIdentity.h"

namespace padsetup {

namespace {

bool FormatInto(char* out, size_t size, const char* format, ...) {
    if (!out || size == 0) return false;
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(out, size, format, args);
    va_end(args);
    if (written < 0 || static_cast<size_t>(written) >= size) {
        out[0] = '\0';
        return false;
    }
    return true;
}

}  // namespace

bool FormatOemTypeKey(char* out, size_t size, unsigned lowByte) {
    return FormatInto(out, size, "%s%02x", kOemKeyPrefix, lowByte);
}

bool FormatOemAxisKey(char* out, size_t size, unsigned lowByte, int axis) {
    return FormatInto(out, size, "%s%02x\\Axes\\%d", kOemKeyPrefix, lowByte, axis);
}

bool FormatOemForceFeedbackKey(char* out, size_t size, unsigned lowByte) {
    return FormatInto(out, size, "%s%02x\\OEMForceFeedback", kOemKeyPrefix, lowByte);
}

bool FormatDeviceEnumKey(char* out, size_t size, DeviceBranch branch, const char* deviceId) {
    if (!deviceId) {
        if (out && size > 0) out[0] = '\0';
        return false;
    }
    return FormatInto(out, size, branch == DeviceBranch::Hid ? "ENUM\\HID\\%s" : "ENUM\\USB\\%s", deviceId);
}

}  // namespace padsetup
