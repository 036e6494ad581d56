// The force-feedback driver at work as games use it, for as long as asked:
// sixteen bound devices on simulated pads, game threads downloading,
// updating, starting, stopping and destroying random effects, device gains
// and commands, pads pulled out and plugged in again, the driver released
// and made again with every device bound anew.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "hosts/dihost/ImportPatch.h"
#include "hosts/dihost/PadHost.h"
#include "hosts/dihost/SettingsKey.h"
#include "tests/wine/soak/Faults.h"
#include "tests/wine/soak/Gate.h"
#include "tests/wine/soak/Watchdog.h"
#include "tools/simpad/SimPad.h"

namespace soak {

class DriverSoak {
public:
    static constexpr unsigned kDevices = 16;
    static constexpr unsigned kGameThreads = 8;

    struct Parts {
        bool Replug = true;  // pads pulled out and plugged in again
        bool Rebind = true;  // the driver released and made again
    };
    DriverSoak(std::string driverPath, uint32_t seed, Parts parts, Watchdog& watchdog, Faults& faults);
    ~DriverSoak();

    // Loads the driver, binds every pad and starts the threads.
    bool Start(std::string* error);
    void Stop();

    // A still point for counting: no game call under way, every device reset
    // and its pad quiet (its last report checked) and emptied, every pad plugged.
    void Hold();
    void Release();

    int64_t Calls() const { return calls_.load(); }
    int64_t Reports() const { return reports_.load(); }
    // The driver's opens a simulated pad refused with every instance busy,
    // and the checks of a pad left undecided by them.
    static int64_t RefusedOpens();
    int64_t Checks() const { return checks_.load(); }
    int64_t Undecided() const { return undecided_.load(); }

private:
    struct Device;
    using Random = std::mt19937;

    void GameThread(unsigned index);
    // One game call on a device the caller has entered; true asks for a check after it.
    bool GameCall(Random& random, unsigned id, Watchdog::Beat& beat);
    void Check(Random& random, unsigned id, Watchdog::Beat& beat);
    void PlugThread();
    void RebindThread();
    bool Bind(std::string* error);
    void Unbind();
    // Where a device's pad stood just before a command or a release.
    struct Mark {
        size_t Reports = 0;     // in its list
        int64_t Delivered = 0;  // taken, all told
        int64_t Refused = 0;    // of the driver's opens, refused by a busy pad
        double Ms = 0;          // on the pad's clock
    };
    Mark MarkOf(unsigned id) const;
    bool AllArrived(unsigned id, const Mark& mark);
    // The device's pad after a command or a release that turns its motors
    // off: once every report the driver sent it has arrived, the last is
    // all-off. Undecided when the pad refused or lost one of them meanwhile.
    // The pad is emptied where the driver is still (at a release or a still point).
    void ExpectOff(unsigned id, const Mark& mark, const char* after, bool othersPlay);
    void Expect(HRESULT hr, unsigned id, const char* call);
    // Sleeps up to ms, in steps, until stopped; false once stopped.
    bool Nap(DWORD ms);

    const std::string driverPath_;
    const uint32_t seed_;
    const Parts parts_;
    Watchdog& watchdog_;
    Faults& faults_;
    std::unique_ptr<padhost::ScopedSettings> settings_;
    std::unique_ptr<Device> devices_[kDevices];
    std::unique_ptr<padhost::PadHost> host_;
    padhost::ImportPatch opens_;  // the driver's CreateFileA, counted
    Gate hostGate_;  // game calls share the driver; a rebind or a still point takes it alone
    std::atomic<bool> stop_{false};
    std::atomic<int64_t> calls_{0};
    std::atomic<int64_t> reports_{0};
    std::atomic<int64_t> checks_{0};
    std::atomic<int64_t> undecided_{0};
    std::vector<std::thread> threads_;
};

}  // namespace soak
