#include "DriverFactory.h"

#include <new>

#include "EffectDriver.h"
#include "Module.h"
#include "common/win/ComSupport.h"

namespace padforce {

namespace {

// The factory has no data, so the module keeps one in static storage. Its
// "destruction" only forgets the pointer: a caller that releases once too
// often, or a second holder of the factory, never touches freed memory.
DriverFactory g_factory;

}  // namespace

DriverFactory* DriverFactory::Acquire() {
    ModuleState& m = Module();
    if (!m.Factory) m.Factory = &g_factory;
    return m.Factory;
}

STDMETHODIMP DriverFactory::QueryInterface(REFIID riid, void** ppv) {
    return win::QueryFromList(this, static_cast<IClassFactory*>(this), riid, ppv,
                              {&IID_IUnknown, &IID_IClassFactory});
}

STDMETHODIMP_(ULONG) DriverFactory::AddRef() { return ::InterlockedIncrement(&Module().Count); }

STDMETHODIMP_(ULONG) DriverFactory::Release() {
    ModuleState& m = Module();
    if (m.Count != 0) return ::InterlockedDecrement(&m.Count);
    m.Factory = nullptr;
    return 0;
}

STDMETHODIMP DriverFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    ModuleState& m = Module();
    EffectDriver* driver = m.Driver.load();
    if (!driver) {
        driver = new (std::nothrow) EffectDriver();
        if (!driver) return E_OUTOFMEMORY;
        m.Driver.store(driver);
        // The module count is left as it is: clearing it would forget a
        // server lock the caller took, and COM could unload the module while
        // that caller still means to call LockServer(FALSE).
        // The creation reference goes away, so the caller holds the one counted reference.
        const HRESULT hr = driver->QueryInterface(riid, ppv);
        driver->Release();
        return hr;
    }
    return driver->QueryInterface(riid, ppv);
}

STDMETHODIMP DriverFactory::LockServer(BOOL lock) {
    if (lock) AddRef();
    else Release();
    return S_OK;
}

}  // namespace padforce
