// The class factory of the property sheet.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace padpanel {

class PropSheetFactory final : public IClassFactory {
public:
    // A new factory with one reference, or null when memory runs out.
    static PropSheetFactory* Create();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IClassFactory
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    PropSheetFactory();
    ~PropSheetFactory();
    LONG refs_ = 1;
};

}  // namespace padpanel
