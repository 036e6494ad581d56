// The check page's wizard: step 0 introduces, 1 captures the stick, 2 and 3
// the Z axis, 4 and 5 the rudder, 6 saves. Even steps show Check, odd ones
// Next, step 6 Save, each lower on the page as the wizard goes on.
#pragma once

#include <cstdint>

namespace padpanel {

inline constexpr uint32_t kSaveStep = 6;

// 0 -> 1; 6 (or beyond) -> 0; others to the next step, or straight to 6 on a
// pad of two axes or fewer.
inline uint32_t NextCheckStep(uint32_t step, uint32_t axisCount) {
    if (step == 0) return 1;
    if (step >= kSaveStep) return 0;
    return axisCount <= 2 ? kSaveStep : step + 1;
}

enum class CheckButton { Check, Next, Save };

inline CheckButton ButtonOfStep(uint32_t step) {
    if (step >= kSaveStep) return CheckButton::Save;
    return step % 2 == 0 ? CheckButton::Check : CheckButton::Next;
}

// How far down the step's button stands.
inline int32_t ButtonOffsetOfStep(uint32_t step) {
    if (step >= kSaveStep) return 0;
    return static_cast<int32_t>(step % 2 == 0 ? step * 50 : step * 50 - 50);
}

}  // namespace padpanel
