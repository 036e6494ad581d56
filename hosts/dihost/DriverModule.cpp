#include "hosts/dihost/DriverModule.h"

#include <cstdio>

namespace padhost {

namespace {

// GetProcAddress's type says nothing of the entry's; going through a
// function type without arguments is the sanctioned way to change it.
template <class Fn>
Fn EntryPoint(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace

std::unique_ptr<DriverModule> DriverModule::Load(const std::string& path, std::string* error) {
    std::unique_ptr<DriverModule> m(new DriverModule());
    m->path_ = path;
    m->module_.reset(::LoadLibraryA(path.c_str()));
    if (!m->module_) {
        if (error) {
            char code[32];
            std::snprintf(code, sizeof code, "%lu", ::GetLastError());
            *error = "cannot load " + path + " (error " + code + ")";
        }
        return nullptr;
    }
    m->getClassObject_ = EntryPoint<GetClassObjectFn>(m->module_.get(), "DllGetClassObject");
    m->canUnloadNow_ = EntryPoint<CanUnloadNowFn>(m->module_.get(), "DllCanUnloadNow");
    if (!m->getClassObject_ || !m->canUnloadNow_) {
        if (error) *error = path + " does not export DllGetClassObject and DllCanUnloadNow";
        return nullptr;
    }
    return m;
}

DriverModule::~DriverModule() {
    if (module_ && canUnloadNow_ && canUnloadNow_() != S_OK) module_.release();
}

HRESULT DriverModule::GetClassObject(REFCLSID clsid, REFIID iid, void** out) const {
    return getClassObject_(clsid, iid, out);
}

HRESULT DriverModule::CanUnloadNow() const { return canUnloadNow_(); }

HRESULT DriverModule::CreateDriver(Microsoft::WRL::ComPtr<IDirectInputEffectDriver>& out) const {
    out.Reset();
    Microsoft::WRL::ComPtr<IClassFactory> factory;
    HRESULT hr = GetClassObject(kForceDriverClsid, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf()));
    if (FAILED(hr)) return hr;
    if (!factory) return E_POINTER;
    hr = factory->CreateInstance(nullptr, IID_IDirectInputEffectDriver, reinterpret_cast<void**>(out.GetAddressOf()));
    if (SUCCEEDED(hr) && !out) return E_POINTER;
    return hr;
}

}  // namespace padhost
