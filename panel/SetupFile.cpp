#include "panel/SetupFile.h"

#include <windows.h>

#include <cstdio>

namespace padpanel {

namespace {

// No comma: a missing entry fails the four-comma rule.
constexpr char kMissingEntry[] = "Error!!!";

bool SetupFilePath(char (&path)[MAX_PATH]) {
    char system[MAX_PATH];
    const UINT n = ::GetSystemDirectoryA(system, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    const int written = std::snprintf(path, sizeof path, "%s\\Zororo\\Setup.ini", system);
    return written > 0 && static_cast<size_t>(written) < sizeof path;  // never a cut path
}

}  // namespace

bool ReadSetupEntry(const char* section, const char* key, SetupEntry& out) {
    out = SetupEntry{};
    char path[MAX_PATH];
    if (!section || !key || !SetupFilePath(path)) return false;
    char line[kSetupLineCapacity] = {};
    const DWORD n = ::GetPrivateProfileStringA(section, key, kMissingEntry, line, sizeof line, path);
    return ParseSetupEntry(line, n < sizeof line ? n : sizeof line - 1, out);
}

}  // namespace padpanel
