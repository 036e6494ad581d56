// dihost: plays effects through a force-feedback driver the way DirectInput
// would, at a simulated pad, and shows what the motors did.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/ProductIdentity.h"
#include "hosts/dihost/MotorPlot.h"
#include "hosts/dihost/PadHost.h"
#include "hosts/dihost/RunOptions.h"
#include "hosts/dihost/ScriptRunner.h"
#include "hosts/dihost/SettingsKey.h"
#include "hosts/dihost/SettingsRecord.h"
#include "tools/simpad/SimPad.h"

using namespace padhost;

namespace {

constexpr DWORD kJoystickId = 0;

std::string BesideProgram(const char* file) {
    char path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, n);
    const size_t slash = dir.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : dir.substr(0, slash + 1)) + file;
}

bool ReadFileText(const std::string& path, std::string& text) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool WriteFileText(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

bool MakeDirectories(const std::string& path) {
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '\\' && path[i] != '/') continue;
        const std::string part = path.substr(0, i);
        if (part.empty() || part.back() == ':') continue;
        if (!::CreateDirectoryA(part.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return true;
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH] = {};
    const DWORD n = ::GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full, n) : path;
}

}  // namespace

int main(int argc, char** argv) {
    const OptionsParse parsed = ParseRunOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.Ok) {
        std::fprintf(stderr, "dihost: %s\n%s", parsed.Error.c_str(), RunUsage());
        return 2;
    }
    const RunOptions& o = parsed.Options;
    if (o.Help) {
        std::printf("%s", RunUsage());
        return 0;
    }
    if (o.PrintScript) {
        std::printf("%.*s", static_cast<int>(BuiltinScript().size()), BuiltinScript().data());
        return 0;
    }

    std::string text(BuiltinScript());
    std::string source = "built-in script";
    if (!o.ScriptFile.empty()) {
        text.clear();
        source = o.ScriptFile;
        if (!ReadFileText(o.ScriptFile, text)) {
            std::fprintf(stderr, "dihost: cannot read the script %s\n", o.ScriptFile.c_str());
            return 2;
        }
    }
    const ScriptParse script = ParseScript(text, source);
    if (!script.Ok) {
        std::fprintf(stderr, "dihost: %s\n", script.Error.c_str());
        return 2;
    }
    const std::string outDir = FullPath(o.OutDir);
    if (!MakeDirectories(outDir)) {
        std::fprintf(stderr, "dihost: cannot make the folder %s\n", outDir.c_str());
        return 2;
    }

    // As the property sheet leaves it: the record, or no key at all.
    RemoveSettings(pad::kProductId);
    if (o.WriteSettings &&
        !WriteSettingsRecord(pad::kProductId, VibrationRecord(o.MotorPower, o.TimeCycle, o.AutoMode))) {
        std::fprintf(stderr, "dihost: cannot write the settings record\n");
        return 2;
    }
    if (o.WriteSettings)
        std::printf("settings: MotorPower %u, TimeCycle %u, AutoMode %u under HKLM\\%s\n", o.MotorPower, o.TimeCycle,
                    o.AutoMode, SettingsKeyName(pad::kProductId).c_str());
    else
        std::printf("settings: none (no key under HKLM\\%s)\n", SettingsKeyName(pad::kProductId).c_str());

    const std::string driverPath = o.Driver.empty() ? BesideProgram("padforce.dll") : o.Driver;
    simpad::SimPad pad;
    if (!pad.IsPlugged()) {
        std::fprintf(stderr, "dihost: the simulated pad could not be served\n");
        return 2;
    }
    std::string error;
    std::unique_ptr<PadHost> host = PadHost::Open(driverPath, &error);
    if (!host) {
        std::fprintf(stderr, "dihost: %s\n", error.c_str());
        RemoveSettings(pad::kProductId);
        return 2;
    }
    std::printf("driver: %s\npad: %s\n", driverPath.c_str(), pad.Path().c_str());

    const double origin = pad.NowMs();
    if (!o.Quiet) {
        std::printf("      time   motor 1  motor 2   report\n");
        pad.SetCallback([origin](const simpad::PadReport& r) {
            std::printf("%9.1f ms  %7u  %7u   %s\n", r.Ms() - origin, r.Motor1(), r.Motor2(), HexBytes(r).c_str());
            std::fflush(stdout);
        });
    }

    ScriptRunner runner(*host, kJoystickId, pad, origin, stdout);
    runner.Note("bind");
    int failures = 0;
    HRESULT hr = host->Bind(kJoystickId, pad);
    if (FAILED(hr)) {
        std::fprintf(stderr, "dihost: DeviceID answered 0x%08lX\n", static_cast<unsigned long>(hr));
        ++failures;
    }
    runner.Note("gain 10000");
    hr = host->Driver()->SetGain(kJoystickId, 10000);
    if (FAILED(hr)) ++failures;

    failures += runner.Run(script.Parsed);

    ::Sleep(o.TailMs);
    const size_t before = pad.ReportCount();
    runner.Note("release");
    const ULONG left = host->Release();
    if (left != 0) std::printf("dihost: the driver still has %lu references after the release\n", left);
    // The release sends each device's all-off report last.
    pad.WaitForReports(before + 1, 2000);
    ::Sleep(100);
    pad.SetCallback(nullptr);
    host.reset();
    RemoveSettings(pad::kProductId);

    const std::vector<simpad::PadReport> reports = pad.Reports();
    const double end = pad.NowMs() - origin;
    const std::string svgPath = outDir + "\\motors.svg";
    const std::string csvPath = outDir + "\\reports.csv";
    const std::string title = "Motor values sent by " + driverPath + " (" +
                              (o.ScriptFile.empty() ? std::string("built-in script") : o.ScriptFile) + ")";
    if (!WriteFileText(svgPath, RenderMotorSvg(reports, runner.Events(), origin, end, title)) ||
        !WriteFileText(csvPath, RenderReportsCsv(reports, origin))) {
        std::fprintf(stderr, "dihost: cannot write into %s\n", outDir.c_str());
        return 2;
    }

    const bool endedOff = !reports.empty() && reports.back().IsAllOff();
    std::printf("%zu reports; the last one %s\n", reports.size(),
                reports.empty() ? "never came" : endedOff ? "turned both motors off" : "left a motor running");
    std::printf("picture: %s\nreports: %s\n", svgPath.c_str(), csvPath.c_str());
    if (failures) std::printf("%d driver calls failed\n", failures);
    return failures || !endedOff ? 1 : 0;
}
