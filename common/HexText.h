// Bytes as lower-case hex pairs, for failure messages and dumps: a space
// after every `group` bytes (none when 0), a line break after every `line`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pad {

inline std::string HexText(const void* bytes, size_t size, size_t group = 0, size_t line = 0) {
    static const char kDigits[] = "0123456789abcdef";
    const auto* b = static_cast<const uint8_t*>(bytes);
    std::string text;
    for (size_t i = 0; i < size; ++i) {
        if (i > 0 && line && i % line == 0)
            text += '\n';
        else if (i > 0 && group && i % group == 0)
            text += ' ';
        text += kDigits[b[i] >> 4];
        text += kDigits[b[i] & 0xF];
    }
    return text;
}

}  // namespace pad
