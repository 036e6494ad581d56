#include "tests/wine/soak/Growth.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace soak {

namespace {

std::string Shown(int64_t value, const char* unit) {
    char text[48];
    if (std::strcmp(unit, "KB") == 0)
        std::snprintf(text, sizeof text, "%lld KB", static_cast<long long>(value / 1024));
    else if (std::strcmp(unit, "MB") == 0)
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(value) / (1024.0 * 1024.0));
    else
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
    return text;
}

std::string Signed(int64_t value, const char* unit) {
    return (value >= 0 ? "+" : "-") + Shown(value >= 0 ? value : -value, unit);
}

int64_t Median(std::vector<int64_t> values) {  // of an odd count
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

std::string SampleLine(const Sample& s) {
    char text[256];
    char ledger[24] = "-";
    if (s.Ledger >= 0) std::snprintf(ledger, sizeof ledger, "%lld", static_cast<long long>(s.Ledger));
    std::snprintf(text, sizeof text,
                  "soak: %s  handles %lld  threads %lld  gdi %lld/ledger %s  user %lld  heap %s  private %s  "
                  "reports %lld  calls %lld",
                  s.When.c_str(), static_cast<long long>(s.Handles), static_cast<long long>(s.Threads),
                  static_cast<long long>(s.Gdi), ledger, static_cast<long long>(s.User), Shown(s.Heap, "KB").c_str(),
                  Shown(s.Private, "MB").c_str(), static_cast<long long>(s.Reports), static_cast<long long>(s.Calls));
    return text;
}

const std::vector<Tolerance>& Tolerances() {
    static const std::vector<Tolerance> table = {
        {"handles", &Sample::Handles, 8, ""},
        {"threads", &Sample::Threads, 1, ""},
        {"gdi", &Sample::Gdi, 2, ""},
        {"ledger", &Sample::Ledger, 2, ""},
        {"user", &Sample::User, 2, ""},
        {"heap", &Sample::Heap, 16 * 1024, "KB"},
        {"private", &Sample::Private, 2 * 1024 * 1024, "MB"},
    };
    return table;
}

size_t EndSpan(size_t judged) {
    const size_t span = std::clamp<size_t>(judged / 5, 1, 5);
    return span % 2 ? span : span - 1;
}

Verdict Judge(const std::vector<Sample>& judged) {
    Verdict v;
    if (judged.empty()) return v;
    const size_t span = EndSpan(judged.size());
    for (const Tolerance& t : Tolerances()) {
        std::vector<int64_t> head, tail;
        for (size_t i = 0; i < span; ++i) {
            head.push_back(judged[i].*t.Field);
            tail.push_back(judged[judged.size() - span + i].*t.Field);
        }
        const int64_t a = Median(head);
        const int64_t b = Median(tail);
        const int64_t growth = b - a;
        const bool ok = growth <= t.Allowed;
        if (!ok) v.Pass = false;
        v.Lines.push_back(std::string(t.Name) + " " + Shown(a, t.Unit) + " -> " + Shown(b, t.Unit) + " (" +
                          Signed(growth, t.Unit) + ", limit " + Signed(t.Allowed, t.Unit) + ")" +
                          (ok ? "" : "  TOO MUCH"));
    }
    return v;
}

}  // namespace soak
