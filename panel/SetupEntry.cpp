#include "panel/SetupEntry.h"

#include <cstring>

#include "panel/RecordDefaults.h"

namespace padpanel {

bool ParseSetupEntry(const char* line, size_t length, SetupEntry& out) {
    out = SetupEntry{};
    if (!line) return false;
    const char* end = line;
    while (static_cast<size_t>(end - line) < length && *end) ++end;

    const char* commas[4];
    int found = 0;
    for (const char* p = line; p < end && found < 4; ++p)
        if (*p == ',') commas[found++] = p;
    if (found < 4) return false;

    out.Left = ParseDecimal(line, commas[0]);
    out.Top = ParseDecimal(commas[0] + 1, commas[1]);
    out.Right = ParseDecimal(commas[1] + 1, commas[2]);
    out.Bottom = ParseDecimal(commas[2] + 1, commas[3]);

    const char* text = commas[3] + 1;
    size_t n = static_cast<size_t>(end - text);
    if (n > kSetupTextCapacity - 1) n = kSetupTextCapacity - 1;
    std::memcpy(out.Text, text, n);
    out.Text[n] = '\0';
    return true;
}

}  // namespace padpanel
