// Which control stands in which of the page context's 75 slots.
#pragma once

#include "panel/controls/BitmapControl.h"
#include "panel/pages/PageContext.h"

namespace padpanel {

enum Slot : int {
    kTestBackground = 0,
    kLogo = 1,
    kTurboButton = 2,
    kClearButton = 3,
    kTurboMarker = 4,
    kTestCursor = 5,
    kTestZGauge = 6,
    kTestRudderGauge = 7,
    kSensitivityGauge = 8,
    kHat = 11,
    kKeyboardBackground = 13,
    kKeyboardPatch = 14,
    kInitialButton = 15,
    kLoadButton = 16,
    kSaveButton = 17,
    kPowerBackground = 18,
    kPowerInitialButton = 19,
    kAutoButton = 20,
    kManualButton = 21,
    kLeftMotorButton = 22,
    kRightMotorButton = 23,
    kStrengthGauge = 24,
    kStrengthArrow = 25,
    kPeriodBall = 26,
    kPowerCursor = 27,
    kButtonBackground = 28,
    kButtonPatch = 29,
    kCheckBackground = 30,
    kCheckPatch = 31,
    kCheckCursor = 32,
    kCheckZGauge = 33,
    kCheckRudderGauge = 34,
    kCheckButton = 35,
    kNextButton = 36,
    kCheckSaveButton = 37,
    kAboutBackground = 38,
    kFirstPicture = 39,    // pictures of buttons 1..12
    kFirstIndicator = 51,  // the test page's indicators of buttons 1..12
    kFirstSetButton = 63,  // set buttons of buttons 1..12
};

inline constexpr int kPadButtons = 12;

// The control in a slot, or null for an empty one.
inline BitmapControl* Control(int slot) {
    return slot >= 0 && slot < kControlSlotCount ? Pages().Controls[slot].get() : nullptr;
}
// Button k = 1..12 of each family.
inline BitmapControl* Picture(int k) { return Control(kFirstPicture + k - 1); }
inline BitmapControl* Indicator(int k) { return Control(kFirstIndicator + k - 1); }
inline BitmapControl* SetButton(int k) { return Control(kFirstSetButton + k - 1); }

// A control that exists and is not in state 0.
inline bool IsDown(int slot) {
    const BitmapControl* c = Control(slot);
    return c && c->GetValue() != 0;
}

}  // namespace padpanel
