// The soak: the driver (and the property sheet) at work for minutes on end,
// the process's figures sampled at still points, and a verdict on their growth.
//
//   soak_tests --driver=PATH [--minutes=N | --seconds=N] [--every=S] [--warmup=S] [--seed=N]
//              [--no-driver] [--no-sheet] [--no-replug] [--no-rebind]   (to tell apart where a growth comes from)
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "hosts/dihost/ProcessStats.h"
#include "tests/wine/soak/DriverSoak.h"
#include "tests/wine/soak/Faults.h"
#include "tests/wine/panel/PanelTestSupport.h"
#include "tests/wine/soak/Growth.h"
#include "tests/wine/soak/SheetSoak.h"
#include "tests/wine/soak/Watchdog.h"

namespace {

struct Options {
    std::string Driver;
    DWORD Seconds = 600;
    DWORD Every = 60;   // seconds between samples
    DWORD Warmup = 0;   // the first judged sample is the first at or after this; 0: as below
    uint32_t Seed = 0;
    bool SeedGiven = false;
    soak::DriverSoak::Parts Parts;
    bool Sheet = true;
    bool DriverHalf = true;
};

bool Value(const char* arg, const char* name, std::string* out) {
    const size_t n = std::strlen(name);
    if (std::strncmp(arg, name, n) != 0 || arg[n] != '=') return false;
    *out = arg + n + 1;
    return true;
}

bool Parse(int argc, char** argv, Options* o) {
    for (int i = 1; i < argc; ++i) {
        std::string v;
        if (Value(argv[i], "--driver", &v)) {
            o->Driver = v;
            std::replace(o->Driver.begin(), o->Driver.end(), '/', '\\');
        } else if (Value(argv[i], "--minutes", &v)) {
            o->Seconds = static_cast<DWORD>(std::strtoul(v.c_str(), nullptr, 10)) * 60;
        } else if (Value(argv[i], "--seconds", &v)) {
            o->Seconds = static_cast<DWORD>(std::strtoul(v.c_str(), nullptr, 10));
        } else if (Value(argv[i], "--every", &v)) {
            o->Every = static_cast<DWORD>(std::strtoul(v.c_str(), nullptr, 10));
        } else if (Value(argv[i], "--warmup", &v)) {
            o->Warmup = static_cast<DWORD>(std::strtoul(v.c_str(), nullptr, 10));
        } else if (std::strcmp(argv[i], "--no-driver") == 0) {
            o->DriverHalf = false;
        } else if (std::strcmp(argv[i], "--no-sheet") == 0) {
            o->Sheet = false;
        } else if (std::strcmp(argv[i], "--no-replug") == 0) {
            o->Parts.Replug = false;
        } else if (std::strcmp(argv[i], "--no-rebind") == 0) {
            o->Parts.Rebind = false;
        } else if (Value(argv[i], "--seed", &v)) {
            o->Seed = static_cast<uint32_t>(std::strtoul(v.c_str(), nullptr, 10));
            o->SeedGiven = true;
        } else {
            std::fprintf(stderr, "soak: unknown argument %s\n", argv[i]);
            return false;
        }
    }
    if (o->Driver.empty()) std::fprintf(stderr, "soak: give the staged driver as --driver=PATH\n");
    // A run of five minutes or more is judged from its second minute, a long
    // one from a tenth of its length: the sheet's first minutes settle Wine's
    // own memory (a step or two of some 2 to 5 MB of private bytes, the heaps
    // unchanged) at no fixed moment: minutes 6 to 9 of one hour.
    if (o->Warmup == 0)
        o->Warmup = o->Seconds < 300 ? o->Every : std::max(2 * o->Every, o->Seconds / 10 / o->Every * o->Every);
    const bool judgeable = o->Every > 0 && o->Seconds >= o->Every && o->Warmup < o->Seconds;
    if (!judgeable)
        std::fprintf(stderr, "soak: a run of %lu s sampled every %lu s has nothing to judge after its warm-up of %lu s; run longer\n",
                     static_cast<unsigned long>(o->Seconds), static_cast<unsigned long>(o->Every),
                     static_cast<unsigned long>(o->Warmup));
    return !o->Driver.empty() && judgeable;
}

LONG WINAPI OnCrash(EXCEPTION_POINTERS* info) {
    std::printf("soak: FAIL: crash: exception 0x%08lX at %p on thread %lu\n",
                static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode), info->ExceptionRecord->ExceptionAddress,
                ::GetCurrentThreadId());
    std::fflush(stdout);
    ::TerminateProcess(::GetCurrentProcess(), 4);
    return EXCEPTION_EXECUTE_HANDLER;
}

// `elapsed` in seconds: the sample is taken when the sheet's life ends, a few seconds after it was due.
soak::Sample Measure(DWORD elapsed, DWORD every, const soak::DriverSoak* driver, const soak::SheetSoak* sheet) {
    soak::Sample s;
    s.When = every % 60 == 0 ? "min " + std::to_string((elapsed + 30) / 60) : "at " + std::to_string(elapsed) + " s";
    s.Handles = padhost::ProcessHandleCount();
    s.Threads = padhost::ProcessThreadCount();
    s.Gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    s.User = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    s.Heap = static_cast<int64_t>(padhost::HeapBytesInUse());
    s.Private = static_cast<int64_t>(padhost::PrivateBytes());
    if (driver) {
        s.Reports = driver->Reports();
        s.Calls = driver->Calls();
    }
    if (sheet) {
        s.Ledger = sheet->LiveGdi();
        s.Reports += sheet->Reports();
        s.Calls += sheet->Calls();
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!Parse(argc, argv, &options)) return 2;
    int childExitCode = 0;
    if (options.Sheet && !paneltest::RunOnlyWithUnmanagedWindows(childExitCode)) return childExitCode;
    if (!options.SeedGiven) options.Seed = ::GetTickCount() ^ (::GetCurrentProcessId() << 16);
    ::SetUnhandledExceptionFilter(OnCrash);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    // Loaded once for the whole run: each load and unload of winmm costs
    // Wine's loader handles of its own, which are not the product's.
    const HMODULE winmm = ::LoadLibraryA("winmm.dll");
    std::printf("soak: seed %lu (--seed=%lu repeats the run), %lu s, a sample every %lu s, judged from %lu s\n",
                static_cast<unsigned long>(options.Seed), static_cast<unsigned long>(options.Seed),
                static_cast<unsigned long>(options.Seconds), static_cast<unsigned long>(options.Every),
                static_cast<unsigned long>(options.Warmup));

    std::string error;
    soak::Watchdog watchdog;
    soak::Faults faults;
    soak::Watchdog::Beat& beat = watchdog.Register("sampler");
    watchdog.Start();
    std::unique_ptr<soak::SheetSoak> sheet;
    if (options.Sheet) {
        ::CoInitialize(nullptr);
        sheet = std::make_unique<soak::SheetSoak>(options.Seed, beat, faults);
        if (!sheet->Start(&error)) {
            std::printf("soak: FAIL: the sheet half could not start: %s\n", error.c_str());
            return 1;
        }
    }
    std::unique_ptr<soak::DriverSoak> driver;
    if (options.DriverHalf) driver = std::make_unique<soak::DriverSoak>(options.Driver, options.Seed, options.Parts, watchdog, faults);
    if (driver && !driver->Start(&error)) {
        std::printf("soak: FAIL: the driver half could not start: %s\n", error.c_str());
        return 1;
    }

    const DWORD start = ::GetTickCount();
    soak::Sample last;
    std::vector<soak::Sample> judged;
    for (DWORD at = options.Every; at <= options.Seconds;) {
        beat.Idle();
        // The sheet lives its lives meanwhile, and is closed at every sample.
        while (::GetTickCount() - start < at * 1000) {
            if (sheet)
                sheet->Cycle();
            else
                ::Sleep(50);
        }
        beat.Doing("holding the soak still");
        if (driver) driver->Hold();
        beat.Doing("counting");
        last = Measure((::GetTickCount() - start) / 1000, options.Every, driver.get(), sheet.get());
        if (driver) driver->Release();
        std::printf("%s\n", soak::SampleLine(last).c_str());
        if (at >= options.Warmup) judged.push_back(last);
        // A sheet's life that ran past a due time or two: the next sample is the next one still ahead.
        const DWORD now = ::GetTickCount() - start;
        do at += options.Every;
        while (at < options.Seconds && at * 1000 <= now);
    }
    beat.Doing("stopping");
    if (driver) driver->Stop();
    sheet.reset();
    beat.Idle();
    watchdog.Stop();
    if (options.Sheet) ::CoUninitialize();

    if (judged.empty()) judged.push_back(last);
    const soak::Verdict verdict = soak::Judge(judged);
    const size_t span = soak::EndSpan(judged.size());
    if (span == 1)
        std::printf("soak: verdict from %s to %s:\n", judged.front().When.c_str(), last.When.c_str());
    else
        std::printf("soak: verdict, the median of %s to %s against that of %s to %s:\n", judged.front().When.c_str(),
                    judged[span - 1].When.c_str(), judged[judged.size() - span].When.c_str(), last.When.c_str());
    for (const std::string& line : verdict.Lines) std::printf("soak:   %s\n", line.c_str());
    std::printf("soak:   reports %lld, calls %lld, faults %d\n", static_cast<long long>(last.Reports),
                static_cast<long long>(last.Calls), faults.Count());
    if (driver)
        std::printf("soak:   all-off checks %lld, left undecided %lld by the %lld opens of the driver a busy simulated pad refused\n",
                    static_cast<long long>(driver->Checks()), static_cast<long long>(driver->Undecided()),
                    static_cast<long long>(soak::DriverSoak::RefusedOpens()));
    const bool pass = verdict.Pass && faults.Count() == 0;
    std::printf("soak: %s (seed %lu)\n", pass ? "PASS" : "FAIL", static_cast<unsigned long>(options.Seed));
    if (winmm) ::FreeLibrary(winmm);
    return pass ? 0 : 1;
}
