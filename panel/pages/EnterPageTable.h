// Which record each page code stores: the pages' single write path.
#pragma once

#include "common/JoySettingRecord.h"
#include "panel/RecordDefaults.h"

namespace padpanel {

inline constexpr int kCommitCurrent = -1;  // Apply, Finish, leaving the vibration page
inline constexpr int kRestoreSaved = -2;   // Cancel, device lost

enum class StoredRecord {
    TestVariant,  // 0: test page
    Defaults,     // 1..4: button, keyboard, vibration and check pages
    Current,      // -1
    Saved,        // -2
};

// False for a code outside 0..4, -1, -2 (nothing is stored then).
bool RecordForPageCode(int code, StoredRecord& out);

// The vibration page runs the motors at a strength of at least 2.
void RaiseMotorPower(pad::JoySettingRecord& current);

// The record EnterPage(code) stores. Entering the vibration page raises a
// current MotorPower below 2 to 2 first; nothing else changes `current`.
bool PrepareEnterPageRecord(int code, pad::JoySettingRecord& current, const pad::JoySettingRecord& saved,
                            const DefaultAxisWords& words, pad::JoySettingRecord& out);

}  // namespace padpanel
