// What a loaded module draws, seen through its own import table: every
// BitBlt, StretchBlt, FillRect, DrawTextA and LineTo it calls, with the
// destination area and whether the device context belongs to a window (a
// write to the screen) or to memory.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "hosts/dihost/ImportPatch.h"

namespace cplhost {

struct DrawCall {
    const char* Function;
    RECT Area;       // destination, in the DC's own coordinates
    bool ToWindow;   // the DC belongs to a window
};

class DrawCallLog {
public:
    DrawCallLog() = default;
    ~DrawCallLog() { Detach(); }
    DrawCallLog(const DrawCallLog&) = delete;
    DrawCallLog& operator=(const DrawCallLog&) = delete;

    // Records from now on; false when the module imports none of the calls.
    bool Attach(HMODULE module, std::string* error);
    void Detach();

    const std::vector<DrawCall>& Calls() const;
    long WindowWrites() const;
    void Clear();

private:
    std::vector<std::unique_ptr<padhost::ImportPatch>> patches_;
};

}  // namespace cplhost
