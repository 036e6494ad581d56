#include "tests/wine/padforce/DriverTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "hosts/dihost/SettingsKey.h"
#include "hosts/dihost/SettingsRecord.h"

namespace fftests {

namespace {
std::string g_driver;
}

const std::string& DriverPath() { return g_driver; }

std::string Bytes(uint8_t m1, uint8_t m2) {
    char text[16];
    std::snprintf(text, sizeof text, "00 %02X %02X 00", m1, m2);
    return text;
}

std::string Bytes(const simpad::PadReport& r) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X %02X %02X", r.Bytes[0], r.Bytes[1], r.Bytes[2], r.Bytes[3]);
    return text;
}

std::string Timeline(const std::vector<simpad::PadReport>& reports, size_t most) {
    std::string text;
    for (size_t i = 0; i < reports.size() && i < most; ++i) {
        char at[24];
        std::snprintf(at, sizeof at, "%s%.1f ms: ", i ? "; " : "", reports[i].Ms());
        text += at + Bytes(reports[i]);
    }
    if (reports.size() > most) text += "; ...";
    return text;
}

BoundDriver::BoundDriver(uint32_t motorPower, uint32_t timeCycle, uint32_t autoMode, DWORD gain) {
    padhost::RemoveSettings(pad::kProductId);
    if (motorPower != kNoSettings)
        padhost::WriteSettingsRecord(pad::kProductId, padhost::VibrationRecord(motorPower, timeCycle, autoMode));
    std::string error;
    host = padhost::PadHost::Open(DriverPath(), &error);
    if (!host) {
        ADD_FAILURE() << error;
        return;
    }
    EXPECT_EQ(host->Bind(0, pad), S_OK);
    EXPECT_EQ(Driver()->SetGain(0, gain), S_OK);
    EXPECT_TRUE(pad.WaitForQuiet(150, 5000)) << "the all-off repeats after binding never ended";
    bindReports = pad.Reports();
    pad.Clear();
}

BoundDriver::~BoundDriver() {
    host.reset();
    padhost::RemoveSettings(pad::kProductId);
}

DWORD BoundDriver::Start(const padhost::EffectShape& effectShape, DWORD flags, DWORD id) {
    padhost::BuiltEffect effect(effectShape);
    DWORD handle = 0;
    EXPECT_EQ(host->Download(id, effect, &handle, flags), S_OK);
    EXPECT_NE(handle, 0u);
    return handle;
}

DWORD BoundDriver::Status(DWORD handle, DWORD id) const {
    DWORD status = 0xDEAD;
    EXPECT_EQ(Driver()->GetEffectStatus(id, handle, &status), S_OK);
    return status;
}

bool BoundDriver::WaitForValues(uint8_t m1, uint8_t m2, DWORD timeoutMs) const {
    const DWORD start = ::GetTickCount();
    for (;;) {
        for (const auto& r : pad.Reports())
            if (r.Motor1() == m1 && r.Motor2() == m2) return true;
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(2);
    }
}

std::optional<simpad::PadReport> BoundDriver::LastAfterQuiet(DWORD quietMs) const {
    pad.WaitForQuiet(quietMs, 10000);
    const auto reports = pad.Reports();
    if (reports.empty()) return std::nullopt;
    return reports.back();
}

bool WaitForStopped(IDirectInputEffectDriver* driver, DWORD id, DWORD handle, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        DWORD status = 1;
        driver->GetEffectStatus(id, handle, &status);
        if (status == 0) return true;
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(2);
    }
}

std::vector<double> Motor1Edges(const std::vector<simpad::PadReport>& reports) {
    std::vector<double> edges;
    bool on = false;
    for (const auto& r : reports) {
        const bool now = r.Motor1() != 0;
        if (now != on) edges.push_back(r.Ms());
        on = now;
    }
    return edges;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

StoredSettings::StoredSettings(uint32_t productId, const pad::JoySettingRecord& record) : productId_(productId) {
    EXPECT_TRUE(padhost::WriteSettingsRecord(productId, record));
}

StoredSettings::StoredSettings(uint32_t productId, const void* bytes, DWORD size, DWORD type)
    : productId_(productId) {
    EXPECT_TRUE(padhost::WriteSettingsValue(productId, bytes, size, type));
}

StoredSettings::~StoredSettings() { padhost::RemoveSettings(productId_); }

}  // namespace fftests

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--driver=", 9) == 0) fftests::g_driver = argv[i] + 9;
    if (fftests::g_driver.empty()) {
        std::fprintf(stderr, "give the staged driver as --driver=PATH\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
