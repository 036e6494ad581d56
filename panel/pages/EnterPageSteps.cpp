#include "panel/pages/EnterPageSteps.h"

#include "panel/pages/EnterPageTable.h"

namespace padpanel {

bool RunEnterPage(int code, EnterPageState state, EnterPageSide& side) {
    StoredRecord which;
    if (!RecordForPageCode(code, which)) return false;
    const bool pageCode = code >= 0;

    // A running left-motor test ends on every page; the vibration page keeps
    // the motors alone unless that test runs.
    if (pageCode && (code != 3 || state.LeftRunMs != 0)) {
        state.LeftRunMs = 0;
        side.StopMotors();
    }
    // The vibration page's controls show the strength it will run with, so
    // the limit comes before them.
    if (code == 3) RaiseMotorPower(state.Current);
    if (pageCode) side.BeforeStore(code);

    const DefaultAxisWords words = which == StoredRecord::Defaults ? side.AxisWords() : DefaultAxisWords{};
    pad::JoySettingRecord record;
    PrepareEnterPageRecord(code, state.Current, state.Saved, words, record);
    side.Store(record);

    if (code == 3) {
        state.DraggingPower = 0;
        state.DraggingTime = 0;
    }
    if (pageCode) side.AfterStore(code);
    return true;
}

}  // namespace padpanel
