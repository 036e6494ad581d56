#include "panel/RecordDefaults.h"

#include <cstring>

namespace padpanel {

void BuildDefaultRecord(pad::JoySettingRecord& record, const DefaultAxisWords& words) {
    std::memset(&record, 0, sizeof record);
    record.Sensitivity = 0;
    for (int i = 0; i < pad::kButtonCount; ++i) {
        record.ButtonMap[i] = static_cast<uint8_t>(i + 1);
        record.TurboFlags[i] = 0;
        record.KeyCodes[i] = 0;
    }
    record.AxisCalibration[0] = kCentredCalibrationWord;  // X
    record.AxisCalibration[1] = kCentredCalibrationWord;  // Y
    record.AxisCalibration[2] = words.Rx;
    record.AxisCalibration[3] = words.Ry;
    record.AxisCalibration[4] = words.Z;
    record.TimeCycle = kDefaultTimeCycle;
    record.MotorPower = kDefaultMotorPower;
    record.AutoMode = 0;
    record.SpareFlag = 0;
}

void ApplyTestVariant(pad::JoySettingRecord& record) {
    for (int i = 0; i < pad::kButtonCount; ++i) {
        record.TurboFlags[i] = 0;
        record.KeyCodes[i] = 0;
    }
    record.TimeCycle = kDefaultTimeCycle;
    record.MotorPower = kDefaultMotorPower;
    record.AutoMode = 0;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

int32_t ParseDecimal(const char* begin, const char* end) {
    const char* p = begin;
    while (p < end && IsBlank(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    int64_t value = 0;
    const int64_t limit = negative ? int64_t{INT32_MAX} + 1 : int64_t{INT32_MAX};
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > limit) value = limit;  // keep reading digits, stay saturated
    }
    return static_cast<int32_t>(negative ? -value : value);
}

int32_t ParseDecimal(const char* text) {
    if (!text) return 0;
    return ParseDecimal(text, text + std::strlen(text));
}

StoredValue ClassifyStoredValue(long bytesRead, size_t recordSize) {
    if (bytesRead <= 0 || static_cast<unsigned long>(bytesRead) > recordSize) return StoredValue::Absent;
    if (static_cast<unsigned long>(bytesRead) == recordSize) return StoredValue::Whole;
    return StoredValue::Leading;
}

}  // namespace padpanel
