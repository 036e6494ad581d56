// What every motor report a pad receives must be: four bytes, report id 0,
// each motor off or at a value that turns it (8 to 31), and a zero last byte.
#pragma once

#include <cstdint>
#include <string>

namespace soak {

// Empty when the message keeps the rule, else what is wrong with it.
std::string ReportFault(const uint8_t* head, uint32_t length);

// "00 1F 00 00 (4 bytes)", for fault lines.
std::string ReportText(const uint8_t* head, uint32_t length);

}  // namespace soak
