// One owner type per kind of Windows handle: closed exactly once, on every path.
#pragma once

#include <windows.h>

#include <utility>

namespace win {

template <class T, class Traits>
class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(T value) : value_(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::Empty(); }
    T release() { return std::exchange(value_, Traits::Empty()); }
    void reset(T value = Traits::Empty()) {
        T old = std::exchange(value_, value);
        if (old != Traits::Empty()) Traits::Close(old);
    }
    // For APIs that write the handle through a pointer.
    T* put() {
        reset();
        return &value_;
    }

private:
    T value_ = Traits::Empty();
};

struct HandleTraits {
    static HANDLE Empty() { return nullptr; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct FileTraits {
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct RegKeyTraits {
    static HKEY Empty() { return nullptr; }
    static void Close(HKEY k) { ::RegCloseKey(k); }
};
struct ModuleTraits {
    static HMODULE Empty() { return nullptr; }
    static void Close(HMODULE m) { ::FreeLibrary(m); }
};

using UniqueHandle = UniqueResource<HANDLE, HandleTraits>;  // events, threads, mappings
using UniqueFile = UniqueResource<HANDLE, FileTraits>;      // CreateFile results
using UniqueHKey = UniqueResource<HKEY, RegKeyTraits>;
using UniqueModule = UniqueResource<HMODULE, ModuleTraits>;

}  // namespace win
