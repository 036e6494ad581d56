// Plays a parsed script through the host on one bound joystick id, at the
// script's times, and notes each step for the picture.
#pragma once

#include <windows.h>

#include <cstdio>
#include <vector>

#include "hosts/dihost/MotorPlot.h"
#include "hosts/dihost/PadHost.h"
#include "hosts/dihost/Script.h"
#include "tools/simpad/SimPad.h"

namespace padhost {

class ScriptRunner {
public:
    // Times are written relative to originMs of the pad's clock.
    ScriptRunner(PadHost& host, DWORD id, const simpad::SimPad& pad, double originMs, FILE* log);

    // Every step runs; returns how many driver calls failed.
    int Run(const Script& script);

    // Adds an event of the host's own (binding, release) at the current time.
    void Note(const std::string& label);
    const std::vector<PlotEvent>& Events() const { return events_; }

private:
    HRESULT Execute(const Script& script, const ScriptStep& step);
    void WaitUntil(double ms) const;
    double Now() const;

    PadHost& host_;
    DWORD id_;
    const simpad::SimPad& pad_;
    double originMs_;
    FILE* log_;
    std::vector<DWORD> handles_;
    std::vector<PlotEvent> events_;
};

}  // namespace padhost
