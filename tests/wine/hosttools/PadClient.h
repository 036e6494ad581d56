// Opens the pad the way the driver does: one open, one write, one close.
#pragma once

#include <windows.h>

#include <string>

#include "common/win/UniqueResource.h"

namespace hosttools {

struct WriteResult {
    bool Opened = false;
    DWORD OpenError = ERROR_SUCCESS;
    bool Written = false;
};

inline WriteResult WriteOnce(const std::string& path, const void* bytes, DWORD size) {
    WriteResult r;
    win::UniqueFile f(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) {
        r.OpenError = ::GetLastError();
        return r;
    }
    r.Opened = true;
    if (bytes) {
        DWORD written = 0;
        r.Written = ::WriteFile(f.get(), bytes, size, &written, nullptr) && written == size;
    }
    return r;
}

}  // namespace hosttools
