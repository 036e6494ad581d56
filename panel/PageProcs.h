// The six page dialog procedures: one skeleton, a table of what differs.
#pragma once

#include <windows.h>
#include <dinput.h>

namespace padpanel {

// The procedure of page 0..5, or null.
DLGPROC PageProcFor(int page);

// The device the page content drives the motors through: held while the
// test, keyboard or vibration page is active, none otherwise.
LPDIRECTINPUTDEVICE2A MotorDevice();

// Called before `device` is released: the motor device never outlives it.
void ForgetMotorDevice(LPDIRECTINPUTDEVICE2A device);

}  // namespace padpanel
