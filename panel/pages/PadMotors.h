// The pages' own motor reports, written straight to the pad's HID path that
// the page's DirectInput device names; the force-feedback driver is not
// involved. Nothing is sent while no page holds a device.
#pragma once

#include <cstdint>

namespace padpanel {

// Builds the report from the vibration page's state and writes it; an
// all-zero report is written twice. MotorPower above 255 is lowered to 255.
void SendMotorReport(bool leftOff, bool rightOff, int32_t leftLevel, int32_t rightLevel);

// Both motors off: SendMotorReport(0, 0, 0, 0).
void StopMotors();

// A running left-motor test ends at every tick of the pages other than the
// vibration page: LeftRunMs back to 0 and the motors stopped.
void EndMotorTest();

}  // namespace padpanel
