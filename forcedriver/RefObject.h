// Root of the driver's own objects: a virtual destructor and an interlocked
// count that starts at 0; the last Release destroys the object.
#pragma once

#include <windows.h>

#include <new>
#include <utility>

namespace padforce {

class RefObject {
public:
    RefObject(const RefObject&) = delete;
    RefObject& operator=(const RefObject&) = delete;
    virtual ~RefObject() = default;

    virtual LONG AddRef() { return ::InterlockedIncrement(&refs_); }
    virtual LONG Release() {
        const LONG n = ::InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return n;
    }

protected:
    RefObject() = default;

private:
    LONG refs_ = 0;
};

// Holds one counted reference.
template <class T>
class RefPtr {
public:
    RefPtr() = default;
    explicit RefPtr(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    RefPtr(const RefPtr&) = delete;
    RefPtr& operator=(const RefPtr&) = delete;
    RefPtr(RefPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    RefPtr& operator=(RefPtr&& o) noexcept {
        if (this != &o) {
            reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }
    ~RefPtr() { reset(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }

private:
    T* p_ = nullptr;
};

// Allocates without throwing; an empty pointer when memory runs out.
template <class T, class... Args>
RefPtr<T> MakeRef(Args&&... args) {
    return RefPtr<T>(new (std::nothrow) T(std::forward<Args>(args)...));
}

}  // namespace padforce
