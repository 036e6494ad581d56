// Memory whose end touches a page that cannot be read: a driver that reads
// one byte past what the caller gave it faults there instead of reading on.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstring>

namespace fftest {

class GuardedBlock {
public:
    // size bytes, the last of them right before the guard page, zero-filled.
    explicit GuardedBlock(size_t size);
    ~GuardedBlock();
    GuardedBlock(const GuardedBlock&) = delete;
    GuardedBlock& operator=(const GuardedBlock&) = delete;

    void* Get() const { return start_; }
    size_t Size() const { return size_; }
    template <class T>
    T* As() const { return static_cast<T*>(start_); }
    // Copies the first Size() bytes of value in.
    template <class T>
    void Fill(const T& value) { std::memcpy(start_, &value, size_ < sizeof value ? size_ : sizeof value); }

private:
    void* base_ = nullptr;
    void* start_ = nullptr;
    size_t size_ = 0;
};

}  // namespace fftest
