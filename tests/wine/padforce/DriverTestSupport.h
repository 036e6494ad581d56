// What the driver's tests share: the staged DLL's path, a driver with pads
// bound the way DirectInput binds them, and ways to read what the pads got.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/JoySettingRecord.h"
#include "hosts/dihost/PadHost.h"
#include "tools/simpad/SimPad.h"

namespace fftests {

const std::string& DriverPath();

// Motor value the pad receives for a level: 0, or 8..31.
inline uint8_t Value(int32_t level) { return level == 0 ? 0 : static_cast<uint8_t>(8 + level * 23 / 10000); }

std::string Bytes(const simpad::PadReport& r);  // "00 1F 00 00"
std::string Bytes(uint8_t m1, uint8_t m2);
// Each report with its arrival time, for failure messages.
std::string Timeline(const std::vector<simpad::PadReport>& reports, size_t most = 12);

// A driver with one simulated pad bound at id 0, gain set, settled: the
// all-off report of binding and its repeats have gone out and been cleared.
// The settings record is written first (strength and period 170: levels
// reach the pad as the game asked) unless the test gives its own or none.
class BoundDriver {
public:
    static constexpr uint32_t kNoSettings = 0xFFFFFFFFu;
    explicit BoundDriver(uint32_t motorPower = 170, uint32_t timeCycle = 170, uint32_t autoMode = 0,
                         DWORD gain = 10000);
    ~BoundDriver();

    IDirectInputEffectDriver* Driver() const { return host->Driver(); }
    // Downloads (and by default starts) an effect; fails the test if the driver refuses it.
    DWORD Start(const padhost::EffectShape& effectShape, DWORD flags = DIEP_ALLPARAMS | DIEP_START, DWORD id = 0);
    DWORD Status(DWORD handle, DWORD id = 0) const;
    // Waits for the first report whose motor values are (m1, m2).
    bool WaitForValues(uint8_t m1, uint8_t m2, DWORD timeoutMs = 3000) const;
    // The last report the pad got, once the pad has been quiet for quietMs.
    std::optional<simpad::PadReport> LastAfterQuiet(DWORD quietMs = 100) const;

    simpad::SimPad pad;
    std::vector<simpad::PadReport> bindReports;  // what binding sent, before the Clear
    std::unique_ptr<padhost::PadHost> host;
};

// Waits until the driver reports the effect no longer playing.
bool WaitForStopped(IDirectInputEffectDriver* driver, DWORD id, DWORD handle, DWORD timeoutMs);

// The times (ms on the pad's clock) at which motor 1 switched between off and on.
std::vector<double> Motor1Edges(const std::vector<simpad::PadReport>& reports);

double Median(std::vector<double> values);

// Thin RAII for the settings record, also for values the sheet never writes.
class StoredSettings {
public:
    StoredSettings(uint32_t productId, const pad::JoySettingRecord& record);
    StoredSettings(uint32_t productId, const void* bytes, DWORD size, DWORD type = REG_BINARY);
    ~StoredSettings();
    StoredSettings(const StoredSettings&) = delete;
    StoredSettings& operator=(const StoredSettings&) = delete;

private:
    uint32_t productId_;
};

}  // namespace fftests
