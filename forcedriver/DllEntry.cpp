// Entry points of padforce.dll.
#include <windows.h>
#include <dinput.h>

#include "DriverFactory.h"
#include "EffectDriver.h"
#include "Module.h"
#include "common/win/RuntimePool.h"
#include "forcedriver/ForceDriverClsid.h"

using namespace padforce;

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        ModuleState& m = Module();
        m.ModuleLog = MakeRef<DiagLog>(kModuleLogDirectory);
        m.ErrorLog = MakeRef<DiagLog>(kErrorLogDirectory);
    } else if (reason == DLL_PROCESS_DETACH) {
        ModuleState& m = Module();
        m.ErrorLog.reset();
        m.ModuleLog.reset();
        const bool processEnds = reserved != nullptr;
        if (!processEnds && !m.Driver.load()) ReleaseModuleState();
        win::ReleaseRuntimePool(processEnds);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualCLSID(rclsid, CLSID_PadForceDriver)) return CLASS_E_CLASSNOTAVAILABLE;
    DriverFactory* factory = DriverFactory::Acquire();
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
    // A live driver keeps the module: its threads run code from it.
    ModuleState& m = Module();
    return m.Count == 0 && m.Driver.load() == nullptr ? S_OK : S_FALSE;
}
