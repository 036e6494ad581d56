// The joysticks the host shows a driver: a table from joystick id to USB
// product id, answered in place of winmm's joyGetDevCapsA. Process-wide,
// thread-safe.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <string>

#include "hosts/dihost/ImportPatch.h"

namespace padhost {

inline constexpr UINT kJoystickIds = 16;

void SetJoystick(UINT id, uint16_t productId);
void RemoveJoystick(UINT id);
void ClearJoysticks();
// How many queries the table has answered, plugged or not.
unsigned JoystickQueries();

// An id in the table: JOYERR_NOERROR with the pad's vendor id, the table's
// product id and the pad's buttons and axes. Any other id: JOYERR_UNPLUGGED.
MMRESULT WINAPI HostJoyGetDevCapsA(UINT_PTR id, LPJOYCAPSA caps, UINT size);

// Points the module's import of winmm's joyGetDevCapsA at the table.
bool PatchJoystickCaps(ImportPatch& patch, HMODULE module, std::string* error);

}  // namespace padhost
