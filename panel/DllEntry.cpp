// Entry points of padpanel.dll.
#include <windows.h>

#include "common/win/RuntimePool.h"
#include "panel/Module.h"
#include "panel/PanelIds.h"
#include "panel/PropSheetFactory.h"
#include "panel/controls/TestButton.h"
#include "panel/pages/PageContext.h"
#include "panel/pages/PageLayer.h"

using namespace padpanel;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        Module().Instance = instance;
        ::DisableThreadLibraryCalls(instance);
        ResetPageContext();
    } else if (reason == DLL_PROCESS_DETACH) {
        DestroyControls();
        // A class left registered would point into the unloaded module.
        ::UnregisterClassA(kTestButtonClass, instance);
        win::ReleaseRuntimePool(reserved != nullptr);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualCLSID(rclsid, CLSID_PadPropertySheet)) return CLASS_E_CLASSNOTAVAILABLE;
    if (!IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
    PropSheetFactory* factory = PropSheetFactory::Create();
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return Module().ObjectCount == 0 ? S_OK : S_FALSE; }
