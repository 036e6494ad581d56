// The model number that names the settings key, from the joystick type name
// "VID_7A3C&PID_A0" followed by two hexadecimal digits.
#pragma once

#include <cstddef>

#include "common/ProductIdentity.h"

namespace padpanel {

// A name that does not carry two hexadecimal digits at 15 and 16 (too short,
// the error text, other characters) names the pad this panel ships with.
inline constexpr unsigned kFallbackModelNumber = pad::ModelNumberFromProductId(pad::kProductId);

// Reads at most `capacity` characters of the name.
unsigned ModelNumberFromTypeName(const char* typeName, size_t capacity);

}  // namespace padpanel
