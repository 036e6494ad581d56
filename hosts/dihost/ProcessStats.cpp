#include "hosts/dihost/ProcessStats.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <vector>

#include "common/win/UniqueResource.h"

namespace padhost {

DWORD ProcessHandleCount() {
    DWORD count = 0;
    return ::GetProcessHandleCount(::GetCurrentProcess(), &count) ? count : 0;
}

DWORD ProcessThreadCount() {
    win::UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    DWORD count = 0;
    const DWORD self = ::GetCurrentProcessId();
    for (BOOL more = ::Thread32First(snapshot.get(), &entry); more; more = ::Thread32Next(snapshot.get(), &entry))
        if (entry.th32OwnerProcessID == self) ++count;
    return count;
}

size_t HeapBytesInUse() {
    std::vector<HANDLE> heaps(64);
    DWORD n = ::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    if (n > heaps.size()) {
        heaps.resize(n);
        n = ::GetProcessHeaps(n, heaps.data());
    }
    size_t used = 0;
    for (DWORD i = 0; i < n && i < heaps.size(); ++i) {
        if (!::HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (::HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) used += entry.cbData;
        ::HeapUnlock(heaps[i]);
    }
    return used;
}

size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters) ? counters.PagefileUsage : 0;
}

}  // namespace padhost
