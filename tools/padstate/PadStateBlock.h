// The pad's live joystick state, shared by the process that plays the pad (a
// test, the control-panel host) and the DirectInput stand-in the panel
// talks to. One fixed layout, no pointers, so any process can map it.
#pragma once

#include <cstdint>

namespace padstate {

inline constexpr uint32_t kBlockMagic = 0x50414453;  // "SDAP"
inline constexpr uint32_t kBlockVersion = 1;
inline constexpr int kAxisCount = 8;  // X, Y, Z, Rx, Ry, Rz, slider 0, slider 1
inline constexpr int kPovCount = 4;
inline constexpr int kButtonCount = 32;
inline constexpr int32_t kAxisCentre = 32767;  // axes run 0..65535
inline constexpr uint32_t kPovCentred = 0xFFFFFFFF;
inline constexpr int kPathCapacity = 260;
inline constexpr int kTypeNameCapacity = 64;

// Failures a script can ask for.
enum Failure : uint32_t {
    kFailNoPad = 1u << 0,      // no joystick configured: GetConfig and CreateDevice fail
    kFailGetConfig = 1u << 1,  // every GetConfig fails
    kFailTypeName = 1u << 2,   // only the type name query (DIJC_REGHWCONFIGTYPE) fails
    kFailAcquire = 1u << 3,    // Acquire fails
    kFailInput = 1u << 4,      // Poll and GetDeviceState report lost input
    // One step of making the device fails each:
    kFailCreateDevice = 1u << 5,     // IDirectInput::CreateDevice
    kFailDevice2 = 1u << 6,          // the device's QueryInterface(IDirectInputDevice2)
    kFailDataFormat = 1u << 7,       // SetDataFormat
    kFailCooperativeLevel = 1u << 8,  // SetCooperativeLevel
};

// What the stand-in was asked, for tests to count.
struct StandInCounters {
    uint32_t DirectInputCreated;   // DirectInputCreateA objects made
    uint32_t DirectInputReleased;  // ... and destroyed
    uint32_t JoyConfigQueries;     // IDirectInputJoyConfig handed out
    uint32_t GetConfigCalls;
    uint32_t DevicesCreated;
    uint32_t DevicesReleased;      // devices destroyed by their last Release
    uint32_t Acquires;             // Acquire calls, successful or not
    uint32_t Unacquires;
    uint32_t Polls;
    uint32_t StateReads;           // GetDeviceState calls
    uint32_t FailedStateReads;
};

struct PadStateBlock {
    uint32_t Magic;
    uint32_t Version;
    uint32_t Plugged;   // 0: every read fails with lost input, Acquire fails
    uint32_t Failures;  // Failure bits
    int32_t Axes[kAxisCount];
    uint32_t Pov[kPovCount];
    uint8_t Buttons[kButtonCount];  // nonzero: pressed
    char ReportPath[kPathCapacity];  // the pad's HID interface path, for motor reports
    char TypeName[kTypeNameCapacity];
    StandInCounters Counters;
};

// Plugged, centred, nothing pressed, no failure, the pad's own type name.
void ResetBlock(PadStateBlock& block);

// Axis names a script uses: x y z rx ry rz slider0 slider1; -1 if unknown.
int AxisIndex(const char* name);

// "nopad", "getconfig", "typename", "acquire", "input", "createdevice",
// "device2", "dataformat", "cooplevel"; 0 if unknown.
uint32_t FailureFromName(const char* name);
// Those names, separated by blanks.
const char* FailureNames();

}  // namespace padstate
