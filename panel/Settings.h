// The settings record of the sheet's pad: loaded once per sheet, built from
// defaults when the store has none.
#pragma once

#include "common/JoySettingRecord.h"
#include "panel/RecordDefaults.h"

namespace padpanel {

// The calibration words of RX, RY and Z from Setup.ini "DefaultSetting"
// "Mode_<model>_AxesRX" ... (0 where an entry is missing).
DefaultAxisWords ReadDefaultAxisWords(unsigned model);

// Fills the record in place; the test variant keeps the user's assignment
// and calibration and reads no file.
void BuildDefaults(pad::JoySettingRecord& record, unsigned model, bool testVariant);

// Reads Current and Saved of the page context for this model, creating the
// value with defaults when it is absent, empty or too long.
void LoadSettings(unsigned model);

}  // namespace padpanel
