// The panel's DirectInput helpers. Each checks its pointers first and writes
// one line to the debugger on a bad argument or a failed call.
#pragma once

#include <windows.h>
#include <dinput.h>
#include <dinputd.h>

#include "panel/GameCntrlPropSheet.h"

namespace padpanel {

inline constexpr DWORD kJoyConfigSize = 1176;  // DIJOYCONFIG of DirectX 6
inline constexpr int kTypeNameLimit = 256;     // bytes written, terminator included

HRESULT DIUtilCreateDeviceFromJoyConfig(short joystickId, HWND window, LPDIRECTINPUTA pdi,
                                        LPDIRECTINPUTJOYCONFIG pdiJoyCfg, LPDIRECTINPUTDEVICE2A* ppdiDevice2);

// Writes the type name, or string resource 2 "<< Error >>" when the query
// fails; never more than `size` characters.
HRESULT DIUtilGetJoystickTypeName(short joystickId, LPDIRECTINPUTJOYCONFIG pdiJoyCfg, char* tszTypeName, int size);

// The 80-byte state is zero when the read fails.
HRESULT DIUtilPollJoystick(LPDIRECTINPUTDEVICE2A pdiDevice2, DIJOYSTATE* pdijs);

}  // namespace padpanel
