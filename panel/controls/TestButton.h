// "TESTBUTTON": a small lamp window, dark or lit by its user data (0 or 1),
// with up to two characters of grey text centred on it. The icon pair is
// module-wide and stays loaded while any lamp window exists.
#pragma once

#include <windows.h>

namespace padpanel {

inline constexpr char kTestButtonClass[] = "TESTBUTTON";

// True when this call registered the class; a second registration in the
// same process fails and callers ignore it.
bool RegisterTestButtonClass();

LRESULT CALLBACK TestButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// How many lamp windows hold the icon pair now.
int TestButtonIconUsers();

}  // namespace padpanel
