// What a process holds, for leak checks: compare before and after.
#pragma once

#include <windows.h>

#include <cstddef>

namespace padhost {

DWORD ProcessHandleCount();
// The handle count once it is at most `atMost`, or as it stands after
// `waitMs`: a pipe instance that a pad's serving thread re-arms, or a handle
// Wine's server has yet to let go of, comes and goes within that time on a
// busy machine; a leaked handle stays.
DWORD ProcessHandleCountSettled(DWORD atMost, DWORD waitMs = 3000);
DWORD ProcessThreadCount();
// Bytes in use in every heap of the process: exact, where the page counts
// of the memory manager move only in pages.
size_t HeapBytesInUse();
// The memory manager's private bytes of the process.
size_t PrivateBytes();

}  // namespace padhost
