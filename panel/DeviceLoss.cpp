// The pages' shared run of failed polls, and what ends it as a lost device.
#include <windows.h>

#include "panel/DeviceBinding.h"
#include "panel/SetupFile.h"

namespace padpanel {

DeviceLossCounter& DeviceLoss() {
    static DeviceLossCounter counter;
    return counter;
}

bool CheckDeviceLost(HWND page) {
    if (!DeviceLoss().OnFailedPoll(::GetTickCount())) return false;
    ::KillTimer(page, kPollTimerId);
    SetupEntry caption;
    SetupEntry text;
    ReadSetupEntry("ErrorInfo", "Error", caption);
    ReadSetupEntry("ErrorInfo", "LoseDevice", text);
    ::MessageBoxA(page, text.Text, caption.Text, MB_OK);
    ::PostMessageA(::GetParent(page), WM_CLOSE, 0, 0);
    return true;
}

}  // namespace padpanel
