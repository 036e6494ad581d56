// Setup.ini entry text of any bytes through the entry reader's parsing: the
// rectangle's four numbers and the text after the fourth comma, and that text
// read as a model's default calibration word.
#include <cstdlib>
#include <cstring>

#include "panel/RecordDefaults.h"
#include "panel/pages/Calibration.h"
#include "panel/SetupEntry.h"

using namespace padpanel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* line = reinterpret_cast<const char*>(data);
    SetupEntry entry;
    const bool parsed = ParseSetupEntry(line, size, entry);

    // The text is always terminated within its buffer, and empty after a failure.
    const size_t n = strnlen(entry.Text, kSetupTextCapacity);
    if (n >= kSetupTextCapacity) std::abort();
    if (!parsed && (n != 0 || entry.Left || entry.Top || entry.Right || entry.Bottom)) std::abort();

    // As the reader hands it over: at most 259 characters and a terminator.
    char buffer[kSetupLineCapacity] = {};
    std::memcpy(buffer, data, size < kSetupLineCapacity - 1 ? size : kSetupLineCapacity - 1);
    SetupEntry read;
    ParseSetupEntry(buffer, sizeof buffer, read);

    // A "Mode_%d_Axes" entry: its text is a calibration word of a record built from scratch.
    const uint32_t word = static_cast<uint32_t>(ParseDecimal(read.Text));
    pad::JoySettingRecord record;
    BuildDefaultRecord(record, DefaultAxisWords{word, word, word});
    for (int32_t v : {0, 127, 255})
        if (MapAxis(record.AxisCalibration[2], v) > 255) std::abort();

    // Every number alone, up to the terminator and over the whole span.
    ParseDecimal(buffer);
    ParseDecimal(line, line + size);
    return 0;
}
