// The figures a soak samples once a minute, and the judgement of how far
// they may grow between the first sample (taken after a warm-up) and the last.
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
Verdict Judge(const Sample& first, const Sample& last);

}  // namespace soak
