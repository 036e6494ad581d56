// The class factory of the effect driver. It has no data: the module count
// is its reference count.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace padforce {

class DriverFactory final : public IClassFactory {
public:
    // The factory, made on first use; null when it cannot be.
    static DriverFactory* Acquire();

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;
};

}  // namespace padforce
