// What dihost writes at the end of a run: both motor values over time as an
// SVG picture, and the reports as CSV.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/simpad/PadReport.h"

namespace padhost {

struct PlotEvent {
    double Ms = 0;  // on the same time axis as the reports
    std::string Label;
};

// Times count from originMs of the reports' clock (PadReport::Ms); the axis
// runs to endMs. Each motor is a step plot of the value it was sent (0 to 31).
std::string RenderMotorSvg(const std::vector<simpad::PadReport>& reports, const std::vector<PlotEvent>& events,
                           double originMs, double endMs, const std::string& title);

// One line per report: ms,motor1,motor2,length,bytes.
std::string RenderReportsCsv(const std::vector<simpad::PadReport>& reports, double originMs);

// "00 1F 00 00"
std::string HexBytes(const simpad::PadReport& report);

}  // namespace padhost
