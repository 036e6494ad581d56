// Reading what a simulated pad received: the first report that moves a
// motor, the on/off edges of a wave, and waits on both.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/simpad/PadReport.h"
#include "tools/simpad/SimPad.h"

namespace fftest {

using Reports = std::vector<simpad::PadReport>;

inline bool Drives(const simpad::PadReport& r) { return r.Motor1() != 0 || r.Motor2() != 0; }

// "00 1F 00 00", for failure messages.
std::string Hex(const simpad::PadReport& r);
std::string Describe(const Reports& reports, size_t limit = 40);

// Index of the first report at or after `from` that satisfies pred, or -1.
int FindReport(const Reports& reports, const std::function<bool(const simpad::PadReport&)>& pred, size_t from = 0);
// Waits for a report that satisfies pred; its index in pad.Reports(), or -1.
int WaitForReport(const simpad::SimPad& pad, const std::function<bool(const simpad::PadReport&)>& pred,
                  DWORD timeoutMs, size_t from = 0);
inline int WaitForDriven(const simpad::SimPad& pad, DWORD timeoutMs, size_t from = 0) {
    return WaitForReport(pad, Drives, timeoutMs, from);
}
// Waits until the last report the pad holds turns both motors off.
bool WaitForAllOffLast(const simpad::SimPad& pad, DWORD timeoutMs);

// A change between driven and off on one motor, from the pad's timestamps.
struct Edge {
    double Ms = 0;
    bool On = false;
};
// Every change of motor 1 between off and driven, repeats of the same state ignored.
std::vector<Edge> Motor1Edges(const Reports& reports);
// Lengths of the on (or off) spans between consecutive edges.
std::vector<double> SpanLengths(const std::vector<Edge>& edges, bool on);
double Median(std::vector<double> values);
// From the first rising edge to the last, divided by the cycles between them
// (a gap of several typical periods counts as several): the period as the
// effect keeps it, whatever the clock's granularity or a stalled worker does
// to single edges. -1 with fewer than two rising edges.
double MeanCycle(const std::vector<Edge>& edges);
std::string Join(const std::vector<double>& values);

// Motor 1 only rises (or only falls) over reports [from, to): the index of
// the first report below (above) one that arrived at least slackMs before
// it, or -1. Reports a millisecond apart may be stamped out of order (the
// pad's serving threads lag a little), so near neighbours are not compared.
int FirstAgainstTheTrend(const Reports& reports, size_t from, size_t to, bool rising, double slackMs = 15.0);

// Largest and smallest motor values seen, and whether any was a value the
// pad never gets (1 to 7, above 31, or bytes 0 and 3 not zero).
struct ValueRange {
    int Lowest = 255;   // of the driven values
    int Highest = 0;
    bool AnyMalformed = false;
};
ValueRange MotorValues(const Reports& reports);

}  // namespace fftest
