// The figures a soak samples once a minute, and the judgement of how far
// they may grow between the start of the run (after a warm-up) and its end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace soak {

struct Sample {
    std::string When;       // "min 3", or "at 15 s" in a short run
    int64_t Handles = 0;
    int64_t Threads = 0;
    int64_t Gdi = 0;        // as the system answers (Wine: 0)
    int64_t Ledger = -1;    // GDI objects the sheet's module holds, counted at its imports; -1 without the sheet
    int64_t User = 0;       // as the system answers (Wine: 0)
    int64_t Heap = 0;       // bytes in use in every heap
    int64_t Private = 0;    // private bytes
    int64_t Reports = 0;    // reports the pads received, all told
    int64_t Calls = 0;      // driver and sheet calls made, all told
};

// "soak: min 3  handles 2204  threads 33  gdi 0/ledger 41  user 0  heap 801 KB  private 12.3 MB  reports 470673  calls 51234"
std::string SampleLine(const Sample& s);

struct Tolerance {
    const char* Name;
    int64_t Sample::*Field;
    int64_t Allowed;  // growth that still passes
    const char* Unit;  // "", "KB" or "MB": how the figure is shown
};
// Handles +8, threads +1, GDI +2, ledger +2, USER +2, heap +16 KB, private bytes +2 MB.
const std::vector<Tolerance>& Tolerances();

struct Verdict {
    bool Pass = true;
    std::vector<std::string> Lines;  // one per figure: start, end, growth, limit
};
// Each end of a long run is the median of its few samples (an odd count, about
// a fifth of the judged ones, at most five): private bytes under Wine are
// resident pages, which move by a megabyte and back between two minutes with
// nothing lost. Two samples, or a short run, compare the first with the last.
size_t EndSpan(size_t judged);
Verdict Judge(const std::vector<Sample>& judged);
inline Verdict Judge(const Sample& first, const Sample& last) { return Judge({first, last}); }

}  // namespace soak
