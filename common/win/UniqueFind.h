// An owner for a FindFirstFile search.
#pragma once

#include <windows.h>

#include "common/win/UniqueResource.h"

namespace win {

struct FindTraits {
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE search) { ::FindClose(search); }
};

using UniqueFind = UniqueResource<HANDLE, FindTraits>;

}  // namespace win
