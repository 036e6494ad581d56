#include "panel/DeviceBinding.h"

#include <dinput.h>

#include "panel/DIUtil.h"
#include "panel/Module.h"
#include "panel/PropSheet.h"

namespace padpanel {

namespace {

// The pages' application value is always this module's own sheet object, so
// the whole object is what must be there.
bool SheetUsable(IDIGameCntrlPropSheet* sheet) {
    return sheet && !::IsBadReadPtr(sheet, sizeof(PropSheet)) && !::IsBadWritePtr(sheet, sizeof(PropSheet));
}

}  // namespace

HRESULT BindDevice(HWND sheetWindow, IDIGameCntrlPropSheet* sheet) {
    win::ScopedLock<win::CriticalSection> lock(Module().BindLock);
    if (!SheetUsable(sheet)) return E_POINTER;

    LPDIRECTINPUTDEVICE2A device = nullptr;
    LPDIRECTINPUTJOYCONFIG config = nullptr;
    sheet->GetDevice(&device);
    sheet->GetJoyConfig(&config);
    if (device && config) return S_FALSE;

    LPDIRECTINPUTA input = nullptr;
    HRESULT hr = ::DirectInputCreateA(Module().Instance, 0x0700, &input, nullptr);
    if (FAILED(hr) || !input) return FAILED(hr) ? hr : E_FAIL;

    if (!config) {
        hr = input->QueryInterface(IID_IDirectInputJoyConfig, reinterpret_cast<void**>(&config));
        if (FAILED(hr) || !config) {
            input->Release();
            return FAILED(hr) ? hr : E_NOINTERFACE;
        }
        sheet->SetJoyConfig(config);  // the sheet owns this reference now
    }

    if (!device) {
        hr = DIUtilCreateDeviceFromJoyConfig(static_cast<short>(sheet->GetID()), sheetWindow, input, config, &device);
        if (FAILED(hr)) {
            input->Release();
            return hr;
        }
        sheet->SetDevice(device);
    } else {
        hr = S_FALSE;
    }
    input->Release();
    return hr;
}

}  // namespace padpanel
