#include "panel/pages/TestPageRules.h"

namespace padpanel {

int SensitivityLevelAt(int32_t top, int32_t bottom, int32_t y) {
    if (y == top) return 1;
    const int32_t q = 2 * (bottom - top) / (y - top);
    return q >= 6 ? 2 : q >= 3 ? 1 : 0;
}

IndicatorStep StepIndicator(bool turbo, uint8_t pressed, uint32_t lit, uint32_t& turboTick, uint32_t now) {
    IndicatorStep step;
    if (!turbo) {
        if (pressed != lit) {
            step.Change = true;
            step.Lit = pressed;
            step.Sound = pressed != 0;
        }
        return step;
    }
    if (turboTick == 0) turboTick = now;
    if (pressed != 0 && turboTick != 0) {
        if (now - turboTick >= kTurboHalfPeriodMs) {
            turboTick = now;
            step.Change = true;
            step.Lit = lit ? 0 : 1;
            step.Sound = lit == 0;
        }
    } else if (pressed == 0 && lit != 0) {
        step.Change = true;
        step.Lit = 0;
        turboTick = 0;
    }
    return step;
}

}  // namespace padpanel
