#include "tests/wine/soak/ReportRule.h"

#include <cstdio>

namespace soak {

namespace {

bool MotorValueSent(uint8_t v, Sender sender) {
    return sender == Sender::Sheet ? v <= 31 : v == 0 || (v >= 8 && v <= 31);
}

}  // namespace

std::string ReportFault(const uint8_t* head, uint32_t length, Sender sender) {
    if (length != 4) return "a report of " + std::to_string(length) + " bytes";
    if (head[0] != 0) return "report id " + std::to_string(head[0]);
    if (!MotorValueSent(head[1], sender)) return "motor 1 value " + std::to_string(head[1]);
    if (!MotorValueSent(head[2], sender)) return "motor 2 value " + std::to_string(head[2]);
    if (head[3] != 0) return "last byte " + std::to_string(head[3]);
    return {};
}

std::string ReportText(const uint8_t* head, uint32_t length) {
    std::string text;
    char byte[4];
    for (uint32_t i = 0; i < 4 && i < length; ++i) {
        std::snprintf(byte, sizeof byte, i ? " %02X" : "%02X", head[i]);
        text += byte;
    }
    return text + " (" + std::to_string(length) + " bytes)";
}

}  // namespace soak
