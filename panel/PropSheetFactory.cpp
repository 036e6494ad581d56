#include "panel/PropSheetFactory.h"

#include <new>

#include "common/win/ComSupport.h"
#include "panel/Module.h"
#include "panel/PropSheet.h"

namespace padpanel {

PropSheetFactory* PropSheetFactory::Create() { return new (std::nothrow) PropSheetFactory(); }

PropSheetFactory::PropSheetFactory() { ObjectCreated(); }
PropSheetFactory::~PropSheetFactory() { ObjectDestroyed(); }

HRESULT STDMETHODCALLTYPE PropSheetFactory::QueryInterface(REFIID riid, void** ppv) {
    return win::QueryFromList(this, static_cast<IClassFactory*>(this), riid, ppv,
                              {&IID_IUnknown, &IID_IClassFactory});
}

ULONG STDMETHODCALLTYPE PropSheetFactory::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }

ULONG STDMETHODCALLTYPE PropSheetFactory::Release() {
    const LONG n = ::InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

HRESULT STDMETHODCALLTYPE PropSheetFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    PropSheet* sheet = PropSheet::Create();
    if (!sheet) return E_OUTOFMEMORY;
    HRESULT hr = sheet->Initialize();
    if (SUCCEEDED(hr)) hr = sheet->QueryInterface(riid, ppv);
    sheet->Release();  // the construction reference; the query holds its own
    return hr;
}

HRESULT STDMETHODCALLTYPE PropSheetFactory::LockServer(BOOL lock) {
    if (lock)
        ObjectCreated();
    else
        ObjectDestroyed();
    return S_OK;
}

}  // namespace padpanel
