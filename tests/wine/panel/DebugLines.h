// What a program writes to the debugger output, caught in-process: Wine's
// OutputDebugStringA raises DBG_PRINTEXCEPTION_C with the text, and a
// vectored handler sees it before the system's own handler swallows it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace paneltest {

class DebugLines {
public:
    DebugLines();
    ~DebugLines();
    DebugLines(const DebugLines&) = delete;
    DebugLines& operator=(const DebugLines&) = delete;

    // Each text exactly as written, line feed included.
    const std::vector<std::string>& Lines() const { return lines_; }
    void Clear() { lines_.clear(); }

private:
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* info);

    void* handler_ = nullptr;
    std::vector<std::string> lines_;
};

}  // namespace paneltest
