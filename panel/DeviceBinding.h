// Binding the sheet's pad through DirectInput, once per sheet, and the rule
// that closes the sheet when the pad stops answering.
#pragma once

#include <windows.h>

#include "panel/DeviceLossRule.h"
#include "panel/GameCntrlPropSheet.h"

namespace padpanel {

// S_OK when it bound something, S_FALSE when both interfaces were already
// bound, the failing step's result otherwise. Runs under the module's lock.
HRESULT BindDevice(HWND sheetWindow, IDIGameCntrlPropSheet* sheet);

// The failure run shared by all pages of the module.
DeviceLossCounter& DeviceLoss();

// After a failed poll: true when the pad is declared lost, in which case the
// page's timer is gone, the user has been told and the sheet is closing.
bool CheckDeviceLost(HWND page);

inline constexpr UINT_PTR kPollTimerId = 30;

}  // namespace padpanel
