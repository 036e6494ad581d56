#include <windows.h>

#include "panel/Settings.h"
#include "panel/SettingsStore.h"
#include "panel/pages/EnterPageTable.h"
#include "panel/pages/PageContext.h"
#include "panel/pages/PageLayer.h"

namespace padpanel {

void EnterPage(HWND page, int code) {
    PageContext& context = Pages();
    StoredRecord which;
    if (!RecordForPageCode(code, which)) return;

    // What entering a page does before its record is stored.
    if (code >= 0 && code <= 4 && code != 3) {
        context.LeftRunMs = 0;
        StopMotors();
    } else if (code == 3 && context.LeftRunMs != 0) {
        context.LeftRunMs = 0;
        StopMotors();
    }
    OnEnterPageBefore(page, code);

    const unsigned model = context.JoystickNumber;
    const DefaultAxisWords words = which == StoredRecord::Defaults ? ReadDefaultAxisWords(model) : DefaultAxisWords{};
    pad::JoySettingRecord record;
    PrepareEnterPageRecord(code, context.Current, context.Saved, words, record);

    SettingsStore store(kSettingsBaseKey, model, sizeof record);
    store.Write(&record, sizeof record);  // a failed write leaves the records in memory as they are
    store.Close();

    if (code == 3) {
        context.DraggingPower = 0;
        context.DraggingTime = 0;
    }
    OnEnterPageAfter(page, code);
}

}  // namespace padpanel
