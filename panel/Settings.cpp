#include "panel/Settings.h"

#include <cstdio>
#include <cstring>

#include "panel/SettingsStore.h"
#include "panel/SetupFile.h"
#include "panel/pages/PageContext.h"

namespace padpanel {

namespace {

uint32_t ReadCalibrationWord(const char* format, unsigned model) {
    char key[64];
    std::snprintf(key, sizeof key, format, static_cast<int>(model));
    SetupEntry entry;
    ReadSetupEntry("DefaultSetting", key, entry);
    return static_cast<uint32_t>(ParseDecimal(entry.Text));
}

}  // namespace

DefaultAxisWords ReadDefaultAxisWords(unsigned model) {
    DefaultAxisWords words;
    words.Rx = ReadCalibrationWord("Mode_%d_AxesRX", model);
    words.Ry = ReadCalibrationWord("Mode_%d_AxesRY", model);
    words.Z = ReadCalibrationWord("Mode_%d_AxesZ", model);
    return words;
}

void BuildDefaults(pad::JoySettingRecord& record, unsigned model, bool testVariant) {
    if (testVariant)
        ApplyTestVariant(record);
    else
        BuildDefaultRecord(record, ReadDefaultAxisWords(model));
}

void LoadSettings(unsigned model) {
    PageContext& context = Pages();
    SettingsStore store(kSettingsBaseKey, model, sizeof(pad::JoySettingRecord));
    context.JoystickNumber = model;
    context.AxisCount = 4;
    context.ButtonCount = 12;

    // Read into a scratch record, so a failed or partial query never leaves
    // stray bytes in the record the pages edit.
    pad::JoySettingRecord stored{};
    const long bytes = store.Read(&stored, sizeof stored);
    switch (ClassifyStoredValue(bytes, sizeof stored)) {
    case StoredValue::Whole: context.Current = stored; break;
    case StoredValue::Leading: std::memcpy(&context.Current, &stored, static_cast<size_t>(bytes)); break;
    case StoredValue::Absent:
        BuildDefaults(context.Current, model, false);
        store.Write(&context.Current, sizeof context.Current);
        break;
    }

    // Saved is what the sheet opened with: the store's bytes where it gives
    // them, the record in memory where it cannot.
    context.Saved = context.Current;
    const long again = store.Read(&stored, sizeof stored);
    if (again > 0) std::memcpy(&context.Saved, &stored, static_cast<size_t>(again));
    context.Loaded = true;
}

}  // namespace padpanel
