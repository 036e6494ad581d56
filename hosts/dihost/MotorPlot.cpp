#include "hosts/dihost/MotorPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace padhost {

namespace {

constexpr double kWidth = 1400;
constexpr double kLeft = 70;
constexpr double kRight = 30;
constexpr double kLabelBand = 150;  // event labels above the plots
constexpr double kPanel = 170;
constexpr double kGap = 40;
constexpr double kBottom = 50;
constexpr int kTopValue = 31;

std::string Escaped(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Num(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.1f", v);
    return b;
}

// 1, 2 or 5 times a power of ten, giving about ten ticks over the span.
double TickStep(double span) {
    const double raw = span / 10.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw > 0 ? raw : 1)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= raw) return m * power;
    return 10 * power;
}

}  // namespace

std::string HexBytes(const simpad::PadReport& r) {
    char b[16];
    std::snprintf(b, sizeof b, "%02X %02X %02X %02X", r.Bytes[0], r.Bytes[1], r.Bytes[2], r.Bytes[3]);
    return b;
}

std::string RenderMotorSvg(const std::vector<simpad::PadReport>& reports, const std::vector<PlotEvent>& events,
                           double originMs, double endMs, const std::string& title) {
    const double span = std::max(endMs, 1.0);
    const double plotWidth = kWidth - kLeft - kRight;
    const double height = kLabelBand + 2 * kPanel + kGap + kBottom;
    const auto x = [&](double ms) { return kLeft + std::clamp(ms, 0.0, span) / span * plotWidth; };

    std::string svg;
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(kWidth) + "\" height=\"" + Num(height) +
           "\" viewBox=\"0 0 " + Num(kWidth) + " " + Num(height) + "\" font-family=\"sans-serif\" font-size=\"12\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    svg += "<text x=\"" + Num(kLeft) + "\" y=\"20\" font-size=\"15\">" + Escaped(title) + "</text>\n";

    const double tick = TickStep(span);
    struct Panel {
        const char* Name;
        const char* Colour;
        double Top;
        int Byte;
    };
    const Panel panels[] = {{"motor 1", "#c0392b", kLabelBand, 1}, {"motor 2", "#2471a3", kLabelBand + kPanel + kGap, 2}};
    for (const Panel& p : panels) {
        const auto y = [&](int value) { return p.Top + kPanel - value * kPanel / kTopValue; };
        svg += "<g class=\"panel\">\n";
        svg += "<rect x=\"" + Num(kLeft) + "\" y=\"" + Num(p.Top) + "\" width=\"" + Num(plotWidth) + "\" height=\"" +
               Num(kPanel) + "\" fill=\"#fbfbfb\" stroke=\"#999\"/>\n";
        for (int v : {0, 8, 16, 24, 31}) {
            svg += "<line x1=\"" + Num(kLeft) + "\" y1=\"" + Num(y(v)) + "\" x2=\"" + Num(kLeft + plotWidth) +
                   "\" y2=\"" + Num(y(v)) + "\" stroke=\"#e4e4e4\"/>\n";
            svg += "<text x=\"" + Num(kLeft - 6) + "\" y=\"" + Num(y(v) + 4) + "\" text-anchor=\"end\">" +
                   std::to_string(v) + "</text>\n";
        }
        svg += "<text transform=\"translate(" + Num(kLeft - 40) + " " + Num(p.Top + kPanel / 2) +
               ") rotate(-90)\" text-anchor=\"middle\">" + p.Name + "</text>\n";

        // The motor holds each value until the next report changes it.
        std::string path = "M" + Num(x(0)) + " " + Num(y(0));
        int current = 0;
        for (const simpad::PadReport& r : reports) {
            const int value = std::min<int>(p.Byte == 1 ? r.Motor1() : r.Motor2(), kTopValue);
            const double at = x(r.Ms() - originMs);
            path += " H" + Num(at);
            if (value != current) path += " V" + Num(y(value));
            current = value;
        }
        path += " H" + Num(x(span));
        svg += "<path class=\"motor\" d=\"" + path + "\" fill=\"none\" stroke=\"" + p.Colour +
               "\" stroke-width=\"1.5\"/>\n";
        svg += "</g>\n";
    }

    const double axisY = kLabelBand + 2 * kPanel + kGap;
    for (double t = 0; t <= span + 1e-9; t += tick) {
        svg += "<line x1=\"" + Num(x(t)) + "\" y1=\"" + Num(axisY) + "\" x2=\"" + Num(x(t)) + "\" y2=\"" +
               Num(axisY + 5) + "\" stroke=\"#333\"/>\n";
        svg += "<text x=\"" + Num(x(t)) + "\" y=\"" + Num(axisY + 18) + "\" text-anchor=\"middle\">" +
               std::to_string(static_cast<long long>(std::llround(t))) + "</text>\n";
    }
    svg += "<text x=\"" + Num(kLeft + plotWidth / 2) + "\" y=\"" + Num(axisY + 38) +
           "\" text-anchor=\"middle\">time (ms)</text>\n";

    // Labels are written level and stacked in rows above the plots, each in
    // the first row where it does not run into the one before it.
    constexpr double kRowHeight = 14;
    constexpr double kCharWidth = 6.2;
    const int rows = static_cast<int>((kLabelBand - 40) / kRowHeight);
    std::vector<double> rowEnds(static_cast<size_t>(rows), -1e9);
    for (const PlotEvent& e : events) {
        if (e.Label.empty()) continue;
        const double at = x(e.Ms);
        const double width = kCharWidth * static_cast<double>(e.Label.size()) + 8;
        size_t row = 0;
        for (size_t r = 0; r < rowEnds.size(); ++r) {
            if (rowEnds[r] <= at) {
                row = r;
                break;
            }
            if (rowEnds[r] < rowEnds[row]) row = r;
        }
        rowEnds[row] = at + width;
        const double textY = 40 + kRowHeight * static_cast<double>(row + 1);
        svg += "<g class=\"event\"><line x1=\"" + Num(at) + "\" y1=\"" + Num(textY + 2) + "\" x2=\"" + Num(at) +
               "\" y2=\"" + Num(axisY) + "\" stroke=\"#999\" stroke-dasharray=\"3 3\"/>";
        svg += "<text x=\"" + Num(at + 2) + "\" y=\"" + Num(textY) + "\" font-size=\"11\">" + Escaped(e.Label) +
               "</text></g>\n";
    }
    svg += "</svg>\n";
    return svg;
}

std::string RenderReportsCsv(const std::vector<simpad::PadReport>& reports, double originMs) {
    std::string csv = "ms,motor1,motor2,length,bytes\n";
    char line[96];
    for (const simpad::PadReport& r : reports) {
        std::snprintf(line, sizeof line, "%.3f,%u,%u,%u,%s\n", r.Ms() - originMs, r.Motor1(), r.Motor2(), r.Length,
                      HexBytes(r).c_str());
        csv += line;
    }
    return csv;
}

}  // namespace padhost
