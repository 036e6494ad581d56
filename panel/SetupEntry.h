// One entry of Setup.ini: "left,top,right,bottom,text".
#pragma once

#include <cstddef>
#include <cstdint>

namespace padpanel {

inline constexpr size_t kSetupLineCapacity = 260;  // what the reader asks for, terminator included
inline constexpr size_t kSetupTextCapacity = 260;  // at most 259 characters of text

struct SetupEntry {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    char Text[kSetupTextCapacity] = {};
};

// The first four commas end the four numbers; the text is everything after
// the fourth, further commas included. Fewer than four commas fail with a
// zero rectangle and an empty text. Reads at most `length` characters and
// stops earlier at a terminator.
bool ParseSetupEntry(const char* line, size_t length, SetupEntry& out);

}  // namespace padpanel
