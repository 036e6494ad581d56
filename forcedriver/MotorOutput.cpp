#include "MotorOutput.h"

#include <windows.h>

#include "common/MotorReport.h"
#include "common/win/UniqueResource.h"

namespace padforce {

void WriteMotorReport(const char* devicePath, int32_t level1, int32_t level2) {
    const pad::MotorReport report = pad::MakeMotorReport(level1, level2);
    win::UniqueFile device(::CreateFileA(devicePath, GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!device) return;
    DWORD written = 0;
    ::WriteFile(device.get(), &report, sizeof report, &written, nullptr);
}

}  // namespace padforce
