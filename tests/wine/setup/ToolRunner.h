// Runs a setup tool the way an installer does, and waits for its exit code.
#pragma once

#include <windows.h>

#include <string>

namespace setuptest {

inline constexpr DWORD kDidNotRun = 0xFFFFFFFF;

// The program's exit code, or kDidNotRun when it could not be started or
// did not end within half a minute.
DWORD RunProgram(const std::string& path);

// The staging folder the test was given, ending in a backslash.
const std::string& DistDir();
void SetDistDir(const std::string& dir);

}  // namespace setuptest
