#include "tests/wine/forcedriver/PadWatch.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace fftest {

std::string Hex(const simpad::PadReport& r) {
    char text[48];
    std::snprintf(text, sizeof text, "%02X %02X %02X %02X", r.Bytes[0], r.Bytes[1], r.Bytes[2], r.Bytes[3]);
    std::string s = text;
    if (r.Length != 4) s += " (" + std::to_string(r.Length) + " bytes)";
    return s;
}

std::string Describe(const Reports& reports, size_t limit) {
    std::string s = std::to_string(reports.size()) + " reports:";
    for (size_t i = 0; i < reports.size() && i < limit; ++i) {
        char at[32];
        std::snprintf(at, sizeof at, " [%.1f ms] ", reports[i].Ms());
        s += at + Hex(reports[i]);
    }
    if (reports.size() > limit) s += " ...";
    return s;
}

int FindReport(const Reports& reports, const std::function<bool(const simpad::PadReport&)>& pred, size_t from) {
    for (size_t i = from; i < reports.size(); ++i)
        if (pred(reports[i])) return static_cast<int>(i);
    return -1;
}

int WaitForReport(const simpad::SimPad& pad, const std::function<bool(const simpad::PadReport&)>& pred,
                  DWORD timeoutMs, size_t from) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        const int found = FindReport(pad.Reports(), pred, from);
        if (found >= 0) return found;
        if (::GetTickCount() - start >= timeoutMs) return -1;
        ::Sleep(2);
    }
}

bool WaitForAllOffLast(const simpad::SimPad& pad, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        const Reports reports = pad.Reports();
        if (!reports.empty() && reports.back().IsAllOff()) return true;
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::Sleep(2);
    }
}

std::vector<Edge> Motor1Edges(const Reports& reports) {
    std::vector<Edge> edges;
    bool on = false;
    for (const simpad::PadReport& r : reports) {
        const bool now = r.Motor1() != 0;
        if (now != on) edges.push_back(Edge{r.Ms(), now});
        on = now;
    }
    return edges;
}

std::vector<double> SpanLengths(const std::vector<Edge>& edges, bool on) {
    std::vector<double> spans;
    for (size_t i = 0; i + 1 < edges.size(); ++i)
        if (edges[i].On == on) spans.push_back(edges[i + 1].Ms - edges[i].Ms);
    return spans;
}

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double MeanCycle(const std::vector<Edge>& edges) {
    std::vector<double> rising;
    for (const Edge& e : edges)
        if (e.On) rising.push_back(e.Ms);
    if (rising.size() < 2) return -1;
    std::vector<double> gaps;
    for (size_t i = 1; i < rising.size(); ++i) gaps.push_back(rising[i] - rising[i - 1]);
    // A worker stalled through a whole on-span loses that cycle's edges: such a
    // gap spans several periods of the median, and counts as that many.
    const double typical = Median(gaps);
    long cycles = 0;
    for (double g : gaps) cycles += std::max(1L, std::lround(g / typical));
    return (rising.back() - rising.front()) / static_cast<double>(cycles);
}

std::string Join(const std::vector<double>& values) {
    std::string s;
    for (double v : values) {
        char t[24];
        std::snprintf(t, sizeof t, "%s%.1f", s.empty() ? "" : " ", v);
        s += t;
    }
    return s;
}

int FirstAgainstTheTrend(const Reports& reports, size_t from, size_t to, bool rising, double slackMs) {
    to = std::min(to, reports.size());
    size_t older = from;  // reports before this one arrived at least slackMs before the current one
    int extreme = rising ? -1 : 256;
    for (size_t j = from; j < to; ++j) {
        while (older < j && reports[j].Ms() - reports[older].Ms() >= slackMs) {
            const int v = reports[older].Motor1();
            extreme = rising ? std::max(extreme, v) : std::min(extreme, v);
            ++older;
        }
        const int v = reports[j].Motor1();
        if (rising ? v < extreme : v > extreme) return static_cast<int>(j);
    }
    return -1;
}

ValueRange MotorValues(const Reports& reports) {
    ValueRange range;
    for (const simpad::PadReport& r : reports) {
        if (r.Length != 4 || r.Bytes[0] != 0 || r.Bytes[3] != 0) range.AnyMalformed = true;
        for (int v : {static_cast<int>(r.Motor1()), static_cast<int>(r.Motor2())}) {
            if ((v >= 1 && v <= 7) || v > 31) range.AnyMalformed = true;
            if (v == 0) continue;
            range.Lowest = std::min(range.Lowest, v);
            range.Highest = std::max(range.Highest, v);
        }
    }
    return range;
}

}  // namespace fftest
