#include "panel/pages/PadMotors.h"

#include <windows.h>
#include <dinput.h>

#include "common/win/UniqueResource.h"
#include "panel/PageProcs.h"
#include "panel/pages/MotorLevels.h"
#include "panel/pages/Slots.h"

namespace padpanel {

namespace {

// The device's HID interface path in the ANSI code page; false when it has none.
bool DevicePath(LPDIRECTINPUTDEVICE2A device, char (&path)[MAX_PATH]) {
    DIPROPGUIDANDPATH property{};
    property.diph.dwSize = sizeof property;
    property.diph.dwHeaderSize = sizeof property.diph;
    property.diph.dwObj = 0;
    property.diph.dwHow = DIPH_DEVICE;
    if (FAILED(device->GetProperty(DIPROP_GUIDANDPATH, &property.diph))) return false;
    property.wszPath[MAX_PATH - 1] = L'\0';
    return ::WideCharToMultiByte(CP_ACP, 0, property.wszPath, -1, path, MAX_PATH, nullptr, nullptr) > 0;
}

}  // namespace

void SendMotorReport(bool leftOff, bool rightOff, int32_t leftLevel, int32_t rightLevel) {
    pad::JoySettingRecord& current = Pages().Current;
    if (current.MotorPower > 255) current.MotorPower = 255;
    const LPDIRECTINPUTDEVICE2A device = MotorDevice();
    if (!device) return;
    char path[MAX_PATH];
    if (!DevicePath(device, path)) return;
    const win::UniqueFile pad(::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!pad) return;

    MotorRequest request;
    request.LeftOff = leftOff;
    request.RightOff = rightOff;
    request.LeftLevel = leftLevel;
    request.RightLevel = rightLevel;
    request.Strength = current.MotorPower;
    request.AutoDown = IsDown(kAutoButton);
    request.LeftDown = IsDown(kLeftMotorButton);
    request.RightDown = IsDown(kRightMotorButton);
    const MotorBytes bytes = MotorReportBytes(request);
    DWORD written = 0;
    ::WriteFile(pad.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    // The pad may miss one all-off report; it must never keep running.
    if (AllZero(bytes)) ::WriteFile(pad.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void StopMotors() { SendMotorReport(false, false, 0, 0); }

void EndMotorTest() {
    PageContext& context = Pages();
    if (context.LeftRunMs == 0) return;
    context.LeftRunMs = 0;
    StopMotors();
}

}  // namespace padpanel
