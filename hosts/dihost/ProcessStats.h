// What a process holds, for leak checks: compare before and after.
#pragma once

#include <windows.h>

#include <cstddef>

namespace padhost {

DWORD ProcessHandleCount();
DWORD ProcessThreadCount();
// Bytes in use in every heap of the process: exact, where the page counts
// of the memory manager move only in pages.
size_t HeapBytesInUse();
// The memory manager's private bytes of the process.
size_t PrivateBytes();

}  // namespace padhost
