// The property sheet at work, again and again, on the calling thread: opened
// through the panel's COM server as the control panel opens it, on a
// simulated pad; every page shown in turn with the stick sweeping, buttons
// pressed and turbo set, the vibration demo and a drive, a profile saved and
// loaded, the sheet applied or cancelled and closed.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <random>
#include <string>

#include "hosts/cplhost/SheetHost.h"
#include "tests/wine/panel/GdiLedger.h"
#include "tests/wine/soak/Faults.h"
#include "tests/wine/soak/Watchdog.h"
#include "tools/padstate/PadStateLink.h"
#include "tools/simpad/SimPad.h"
#include "common/win/UniqueResource.h"

namespace soak {

class SheetSoak {
public:
    SheetSoak(uint32_t seed, Watchdog::Beat& beat, Faults& faults);
    ~SheetSoak();

    // The stand-in in place of DirectInput, the staged panel registered,
    // its pictures and Setup.ini installed, its module kept loaded and its
    // GDI calls counted. Call before anything else of the process uses COM.
    bool Start(std::string* error);
    // One life of the sheet, from open to close; a few seconds.
    void Cycle();

    long LiveGdi() const { return gdi_.Live(); }
    int64_t Calls() const { return calls_; }
    int64_t Reports() const { return reports_.load(); }

private:
    void Sweep(DWORD ms);  // pumps, the stick going round meanwhile
    bool ProfileDialog(bool save, const std::string& name);
    void StoreThroughProfile();

    std::mt19937 random_;
    Watchdog::Beat& beat_;
    Faults& faults_;
    padstate::PadStateLink pad_;
    simpad::SimPad motors_{8};
    cplhost::SheetHost host_;
    win::UniqueModule module_;
    paneltest::GdiLedger gdi_;
    int64_t calls_ = 0;
    std::atomic<int64_t> reports_{0};
    int tick_ = 0;
    int cycle_ = 0;
};

}  // namespace soak
