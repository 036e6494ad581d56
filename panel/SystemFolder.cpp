#include "panel/SystemFolder.h"

#include <windows.h>

namespace padpanel {

std::string SystemFolder(const char* below) {
    char system[MAX_PATH] = "";
    const UINT n = ::GetSystemDirectoryA(system, MAX_PATH);
    return std::string(n > 0 && n < MAX_PATH ? system : "") + "\\" + below;
}

}  // namespace padpanel
