#include "hosts/dihost/ProcessStats.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "common/win/UniqueResource.h"

namespace padhost {

namespace {

// The system's handle list, as NtQuerySystemInformation gives it for
// SystemHandleInformation (16).
struct SystemHandleEntry {
    ULONG OwnerPid;
    BYTE ObjectType;
    BYTE HandleFlags;
    USHORT HandleValue;
    PVOID ObjectPointer;
    ULONG AccessMask;
};
struct SystemHandleList {
    ULONG Count;
    SystemHandleEntry Handles[1];
};
using QuerySystemFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

DWORD CountFromSystemList() {
    const auto query = reinterpret_cast<QuerySystemFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return 0;
    std::vector<uint8_t> buffer(64 * 1024);
    for (int tries = 0; tries < 8; ++tries) {
        ULONG needed = 0;
        const LONG status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status != 0) return 0;
        const auto* list = reinterpret_cast<const SystemHandleList*>(buffer.data());
        const size_t room = (buffer.size() - offsetof(SystemHandleList, Handles)) / sizeof(SystemHandleEntry);
        const DWORD self = ::GetCurrentProcessId();
        DWORD count = 0;
        for (ULONG i = 0; i < list->Count && i < room; ++i)
            if (list->Handles[i].OwnerPid == self) ++count;
        return count;
    }
    return 0;
}

}  // namespace

DWORD ProcessHandleCount() {
    DWORD count = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count > 0) return count;
    // Wine answers 0 here; its system handle list is complete.
    return CountFromSystemList();
}

DWORD ProcessHandleCountSettled(DWORD atMost, DWORD waitMs) {
    const DWORD start = ::GetTickCount();
    DWORD count = ProcessHandleCount();
    while (count > atMost && ::GetTickCount() - start < waitMs) {
        ::Sleep(50);
        count = ProcessHandleCount();
    }
    return count;
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
