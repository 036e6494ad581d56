#include "panel/pages/EnterPageTable.h"

namespace padpanel {

bool RecordForPageCode(int code, StoredRecord& out) {
    switch (code) {
    case 0: out = StoredRecord::TestVariant; return true;
    case 1:
    case 2:
    case 3:
    case 4: out = StoredRecord::Defaults; return true;
    case kCommitCurrent: out = StoredRecord::Current; return true;
    case kRestoreSaved: out = StoredRecord::Saved; return true;
    default: return false;
    }
}

void RaiseMotorPower(pad::JoySettingRecord& current) {
    if (current.MotorPower < kLowestMotorPower) current.MotorPower = kLowestMotorPower;
}

bool PrepareEnterPageRecord(int code, pad::JoySettingRecord& current, const pad::JoySettingRecord& saved,
                            const DefaultAxisWords& words, pad::JoySettingRecord& out) {
    StoredRecord which;
    if (!RecordForPageCode(code, which)) return false;
    if (code == 3) RaiseMotorPower(current);
    switch (which) {
    case StoredRecord::TestVariant:
        out = current;
        ApplyTestVariant(out);
        break;
    case StoredRecord::Defaults: BuildDefaultRecord(out, words); break;
    case StoredRecord::Current: out = current; break;
    case StoredRecord::Saved: out = saved; break;
    }
    return true;
}

}  // namespace padpanel
