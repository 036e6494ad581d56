#include "hosts/dihost/SettingsRecord.h"

#include "common/ProductIdentity.h"

namespace padhost {

pad::JoySettingRecord PanelDefaultRecord() {
    pad::JoySettingRecord r{};
    for (int i = 0; i < pad::kButtonCount; ++i) r.ButtonMap[i] = static_cast<uint8_t>(i + 1);
    r.AxisCalibration[0] = 0x7FFF;
    r.AxisCalibration[1] = 0x7FFF;
    r.TimeCycle = 63;
    r.MotorPower = 63;
    r.AutoMode = 0;
    return r;
}

pad::JoySettingRecord VibrationRecord(uint32_t motorPower, uint32_t timeCycle, uint32_t autoMode) {
    pad::JoySettingRecord r = PanelDefaultRecord();
    r.MotorPower = motorPower;
    r.TimeCycle = timeCycle;
    r.AutoMode = autoMode;
    return r;
}

std::string SettingsKeyName(uint32_t productId) {
    return "Software\\ZevEreRaverav\\" + std::to_string(pad::ModelNumberFromProductId(productId));
}

}  // namespace padhost
