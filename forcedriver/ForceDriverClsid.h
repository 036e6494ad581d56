// The effect driver's class identifier, as DirectInput finds it under the
// OEM type key's "OEMForceFeedback\CLSID".
#pragma once

#include <windows.h>

// {5D1C2A90-7A3C-A02F-8E41-00104B7C3D21}
inline constexpr GUID CLSID_PadForceDriver = {
    0x5D1C2A90, 0x7A3C, 0xA02F, {0x8E, 0x41, 0x00, 0x10, 0x4B, 0x7C, 0x3D, 0x21}};
