#include "KeyPaths.h"

#include <cstdio>

#include "InstallerData.h"

namespace padsetup {

namespace {

// The programs' fixed buffers bound every path; a path that would not fit
// comes back empty rather than cut short, so no wrong key is ever opened.
template <std::size_t Size, class... Args>
std::string Format(const char* format, Args... args) {
    char buffer[Size];
    const int n = std::snprintf(buffer, sizeof buffer, format, args...);
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof buffer) return {};
    return std::string(buffer, static_cast<std::size_t>(n));
}

constexpr std::size_t kRemoverPathSize = 260;

}  // namespace

std::string OemTypeKeyPath(unsigned productLowByte) {
    return Format<kNameBufferSize>("%s%02x", kOemTypeKeyPrefix, productLowByte & 0xFFu);
}

std::string AxisKeyPath(unsigned productLowByte, int axis) {
    return Format<kNameBufferSize>("%s%02x\\Axes\\%d", kOemTypeKeyPrefix, productLowByte & 0xFFu, axis);
}

std::string ForceFeedbackKeyPath(unsigned productLowByte) {
    return Format<kNameBufferSize>("%s%02x\\OEMForceFeedback", kOemTypeKeyPrefix, productLowByte & 0xFFu);
}

std::string HidEnumKeyPath(const char* deviceId) {
    return Format<kRemoverPathSize>("ENUM\\HID\\%s", deviceId);
}

std::string UsbEnumKeyPath(const char* deviceId) {
    return Format<kRemoverPathSize>("ENUM\\USB\\%s", deviceId);
}

}  // namespace padsetup
