#include "tests/wine/forcedriver/GuardedBlock.h"

namespace fftest {

GuardedBlock::GuardedBlock(size_t size) : size_(size) {
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    const size_t page = info.dwPageSize;
    const size_t dataPages = (size + page - 1) / page + 1;
    base_ = ::VirtualAlloc(nullptr, (dataPages + 1) * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!base_) return;
    char* guard = static_cast<char*>(base_) + dataPages * page;
    DWORD old = 0;
    ::VirtualProtect(guard, page, PAGE_NOACCESS, &old);
    start_ = guard - size;
}

GuardedBlock::~GuardedBlock() {
    if (base_) ::VirtualFree(base_, 0, MEM_RELEASE);
}

}  // namespace fftest
