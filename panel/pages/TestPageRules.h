// The test page's decisions, without Windows: the sensitivity level a click
// chooses and what a tick does to one button's indicator.
#pragma once

#include <cstdint>

namespace padpanel {

// The level 0..2 chosen by a click at height y in a gauge from top to bottom:
// the upper third 2, the middle 1, the lower 0; the top edge itself 1.
int SensitivityLevelAt(int32_t top, int32_t bottom, int32_t y);
// The sensitivity gauge's vertical level for a level: 85, 170 or 255.
inline uint32_t SensitivityGaugeLevel(int level) { return static_cast<uint32_t>(level + 1) * 255 / 3; }

// A turbo button held down blinks with half-periods of at least this.
inline constexpr uint32_t kTurboHalfPeriodMs = 100;

struct IndicatorStep {
    bool Change = false;  // set the indicator to Lit
    uint32_t Lit = 0;
    bool Sound = false;   // the button's sound plays: it has just lit
};

// One tick of button k's indicator: `pressed` is the pad's button byte, `lit`
// the indicator's value, `turboTick` the button's blink start (0: none),
// which the step updates.
IndicatorStep StepIndicator(bool turbo, uint8_t pressed, uint32_t lit, uint32_t& turboTick, uint32_t now);

}  // namespace padpanel
