// The device-setup class of HID devices (GUID_DEVCLASS_HIDCLASS), for code that
// names it without pulling in <devguid.h> and its one-definition rules.
#pragma once

#include <windows.h>

namespace win {

inline constexpr GUID kHidClassGuid = {0x745a17a0, 0x74d3, 0x11d0, {0xb6, 0xfe, 0x00, 0xa0, 0xc9, 0x0f, 0x57, 0xda}};

}  // namespace win
