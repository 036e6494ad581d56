// A simulated pad: its HID device interface path is a named pipe that this
// process serves. Every message a client writes is one report, recorded with
// its bytes and the time it arrived; every open is counted, even one that
// writes nothing. Thread-safe.
//
// Reports are kept in order of arrival as the serving threads see it. Two
// reports written closer together than the threads lag behind (well under a
// millisecond, unless the machine is starved) may be stamped in either order.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/win/CriticalSection.h"
#include "common/win/SrwLock.h"
#include "tools/simpad/PadReport.h"

namespace simpad {

class PipeServer;

class SimPad {
public:
    using ReportCallback = std::function<void(const PadReport&)>;

    // A fresh, unique path, plugged at once (see IsPlugged). `listeners` is
    // how many instances wait for a client at any time.
    explicit SimPad(unsigned listeners = 256);
    ~SimPad();
    SimPad(const SimPad&) = delete;
    SimPad& operator=(const SimPad&) = delete;

    // Plug brings the path back; Unplug closes every instance, after which
    // opening the path fails with ERROR_FILE_NOT_FOUND.
    bool Plug();
    void Unplug();
    bool IsPlugged() const;

    const std::string& Path() const { return path_; }
    std::wstring WidePath() const;

    std::vector<PadReport> Reports() const;
    size_t ReportCount() const;
    size_t OpenCount() const;
    // True once at least n reports (opens) have arrived since the last Clear.
    bool WaitForReports(size_t n, DWORD timeoutMs) const;
    bool WaitForOpens(size_t n, DWORD timeoutMs) const;
    // True once nothing (no open, no report) has arrived for quietMs; false
    // when the pad is still busy after timeoutMs. Under user-mode emulation
    // (PAD_I386_EMULATED=1) both spans are three times as long.
    bool WaitForQuiet(DWORD quietMs, DWORD timeoutMs) const;
    // Forgets the reports and the open count.
    void Clear();

    // Called for each report on a serving thread, one call at a time and
    // before waiters see the report; it must not call SetCallback.
    void SetCallback(ReportCallback callback);

    // The reports' clock: performance counter ticks since the pad was made.
    int64_t Now() const;
    double NowMs() const { return TicksToMs(Now()); }
    double TicksToMs(int64_t ticks) const { return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency_); }

private:
    class Recorder;

    int64_t origin_ = 0;
    int64_t frequency_ = 1;
    std::string path_;
    std::unique_ptr<Recorder> recorder_;
    std::unique_ptr<PipeServer> server_;
    mutable win::SrwLock plugLock_;
};

}  // namespace simpad
