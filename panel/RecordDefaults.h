// How a settings record is built from scratch, and the neutral record the
// test page stores while the user tries the pad.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/JoySettingRecord.h"

namespace padpanel {

inline constexpr uint32_t kCentredCalibrationWord = 0x7FFF;  // min 0, centre 127, max 255
inline constexpr uint32_t kDefaultTimeCycle = 63;
inline constexpr uint32_t kDefaultMotorPower = 63;
inline constexpr uint32_t kLowestMotorPower = 2;

// The per-model calibration words of RX, RY and Z, as Setup.ini gives them.
struct DefaultAxisWords {
    uint32_t Rx = 0;
    uint32_t Ry = 0;
    uint32_t Z = 0;
};

// Fills every field; SpareFlag is 0 in a record built from scratch.
void BuildDefaultRecord(pad::JoySettingRecord& record, const DefaultAxisWords& words);

// No turbo, no keys, plain vibration; assignment, calibration, sensitivity
// and SpareFlag stay as they are.
void ApplyTestVariant(pad::JoySettingRecord& record);

// Decimal text as the C library reads it: leading blanks and one sign, digits
// up to the first other character, none gives 0. Reads [begin, end) only and
// saturates instead of overflowing.
int32_t ParseDecimal(const char* begin, const char* end);
int32_t ParseDecimal(const char* text);  // up to the terminator

// What a stored value of this many bytes (or -1 for a failed read) gives.
enum class StoredValue {
    Whole,    // exactly one record
    Leading,  // shorter: overwrites only the leading bytes of the record in memory
    Absent,   // failed, longer than a record, or empty: defaults are built and stored
};
StoredValue ClassifyStoredValue(long bytesRead, size_t recordSize);

}  // namespace padpanel
