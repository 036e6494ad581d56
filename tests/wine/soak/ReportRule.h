// What every motor report a pad receives must be: four bytes, report id 0,
// a value for each motor, and a zero last byte. The driver sends a motor
// off or at a value that turns it (8 to 31); the sheet's own motor tests
// use their own scale, 0 to 31.
#pragma once

#include <cstdint>
#include <string>

namespace soak {

enum class Sender { Driver, Sheet };

// Empty when the message keeps the rule, else what is wrong with it.
std::string ReportFault(const uint8_t* head, uint32_t length, Sender sender);

// "00 1F 00 00 (4 bytes)", for fault lines.
std::string ReportText(const uint8_t* head, uint32_t length);

}  // namespace soak
