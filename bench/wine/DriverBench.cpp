// Speed of the staged driver under Wine, measured at the simulated pad:
// how soon a started effect reaches the pad, and how often an active device
// reports. Prints one line per figure: name value unit.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "hosts/dihost/PadHost.h"
#include "hosts/dihost/SettingsKey.h"
#include "tools/simpad/SimPad.h"

using namespace padhost;

namespace {

constexpr DWORD kId = 0;

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t at = static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(at, v.size() - 1)];
}

// Index of the first report at or after `from` that drives a motor, or -1.
long FirstDriven(const simpad::SimPad& pad, size_t from, DWORD timeoutMs) {
    const double deadline = pad.NowMs() + timeoutMs;
    for (size_t n = from + 1; pad.NowMs() < deadline;) {
        if (!pad.WaitForReports(n, 50)) continue;
        const std::vector<simpad::PadReport> reports = pad.Reports();
        for (size_t i = from; i < reports.size(); ++i)
            if (reports[i].Motor1() || reports[i].Motor2()) return static_cast<long>(i);
        n = reports.size() + 1;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string driver;
    int starts = 300;
    double seconds = 3;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--driver=", 9) == 0) driver = argv[i] + 9;
        else if (std::strncmp(argv[i], "--starts=", 9) == 0) starts = std::max(1, std::atoi(argv[i] + 9));
        else if (std::strncmp(argv[i], "--seconds=", 10) == 0) seconds = std::max(0.5, std::atof(argv[i] + 10));
        else {
            std::fprintf(stderr, "usage: driver_bench --driver=PATH [--starts=N] [--seconds=S]\n");
            return 2;
        }
    }
    if (driver.empty()) {
        std::fprintf(stderr, "driver_bench: give the staged driver as --driver=PATH\n");
        return 2;
    }

    RemoveSettings(pad::kProductId);  // no key: the driver's plain factors
    simpad::SimPad pad;
    std::string error;
    std::unique_ptr<PadHost> host = PadHost::Open(driver, &error);
    if (!host || !pad.IsPlugged()) {
        std::fprintf(stderr, "driver_bench: %s\n", host ? "the simulated pad could not be served" : error.c_str());
        return 2;
    }
    IDirectInputEffectDriver* d = host->Driver();
    if (FAILED(host->Bind(kId, pad)) || FAILED(d->SetGain(kId, 10000))) {
        std::fprintf(stderr, "driver_bench: the device could not be bound\n");
        return 2;
    }
    pad.WaitForQuiet(30, 5000);

    // Latency: from DownloadEffect with DIEP_START returning to the pad
    // holding the report that drives the motor. A report can arrive before
    // the call has returned; that start counts as 0.
    BuiltEffect force(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    DWORD handle = 0;
    std::vector<double> fromReturn, fromCall;
    int lost = 0;
    for (int i = 0; i < starts; ++i) {
        const size_t before = pad.ReportCount();
        const double call = pad.NowMs();
        const HRESULT hr = host->Download(kId, force, &handle, DIEP_ALLPARAMS | DIEP_START);
        const double returned = pad.NowMs();
        const long at = SUCCEEDED(hr) ? FirstDriven(pad, before, 2000) : -1;
        if (at < 0) {
            ++lost;
        } else {
            const double arrived = pad.Reports()[static_cast<size_t>(at)].Ms();
            fromReturn.push_back(std::max(0.0, arrived - returned));
            fromCall.push_back(arrived - call);
        }
        d->StopEffect(kId, handle);
        pad.WaitForQuiet(20, 5000);  // the stop and its all-off repeats are over
    }

    // Step rate: a sawtooth that changes its level every millisecond makes
    // the device report at every step.
    BuiltEffect saw(EffectShape::Periodic(kSawtoothUp, 10000, 300000, kInfinite).WithPolar(0));
    DWORD sawHandle = 0;
    host->Download(kId, saw, &sawHandle, DIEP_ALLPARAMS | DIEP_START);
    ::Sleep(200);
    const double from = pad.NowMs();
    ::Sleep(static_cast<DWORD>(seconds * 1000));
    const double to = pad.NowMs();
    d->StopEffect(kId, sawHandle);
    std::vector<double> intervals;
    size_t inWindow = 0;
    double last = -1;
    for (const simpad::PadReport& r : pad.Reports()) {
        if (r.Ms() < from || r.Ms() >= to) continue;
        ++inWindow;
        if (last >= 0) intervals.push_back(r.Ms() - last);
        last = r.Ms();
    }
    host->Release();
    host.reset();

    std::printf("# %zu starts measured, %d without a report\n", fromReturn.size(), lost);
    std::printf("start_latency_median %.3f ms\n", Percentile(fromReturn, 0.5));
    std::printf("start_latency_p99 %.3f ms\n", Percentile(fromReturn, 0.99));
    std::printf("start_latency_from_call_median %.3f ms\n", Percentile(fromCall, 0.5));
    std::printf("active_step_rate %.0f steps/s\n", static_cast<double>(inWindow) * 1000.0 / (to - from));
    std::printf("active_step_interval_median %.3f ms\n", Percentile(intervals, 0.5));
    std::printf("active_step_interval_p99 %.3f ms\n", Percentile(intervals, 0.99));
    return lost ? 1 : 0;
}
