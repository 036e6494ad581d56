#include "panel/DIUtil.h"

#include <cstring>

#include "panel/Module.h"
#include "panel/resource.h"

static_assert(sizeof(DIJOYCONFIG) == padpanel::kJoyConfigSize, "DirectX 6 joystick configuration");
static_assert(sizeof(DIJOYSTATE) == 80, "joystick state");

namespace padpanel {

namespace {

void Debug(const char* line) { ::OutputDebugStringA(line); }

// A pointer the caller owns: present and, where the system can tell, usable.
bool Writable(const void* p, UINT_PTR size) {
    return p && !::IsBadWritePtr(const_cast<void*>(p), size) && !::IsBadReadPtr(p, size);
}

}  // namespace

HRESULT DIUtilCreateDeviceFromJoyConfig(short joystickId, HWND window, LPDIRECTINPUTA pdi,
                                        LPDIRECTINPUTJOYCONFIG pdiJoyCfg, LPDIRECTINPUTDEVICE2A* ppdiDevice2) {
    if (!Writable(pdi, 4)) {
        Debug("DIUtilCreateDeviceFromJoyConfig() - invalid pdi\n");
        return E_POINTER;
    }
    if (!Writable(pdiJoyCfg, 4)) {
        Debug("DIUtilCreateDeviceFromJoyConfig() - invalid pdiJoyCfg\n");
        return E_POINTER;
    }
    if (!Writable(ppdiDevice2, 4)) {
        Debug("DIUtilCreateDeviceFromJoyConfig() - invalid ppdiDevice2\n");
        return E_POINTER;
    }
    *ppdiDevice2 = nullptr;

    DIJOYCONFIG config;
    std::memset(&config, 0, sizeof config);
    config.dwSize = kJoyConfigSize;
    HRESULT hr = pdiJoyCfg->GetConfig(static_cast<UINT>(joystickId), &config, DIJC_GUIDINSTANCE);
    if (FAILED(hr)) {
        Debug("DIUtilCreateDeviceFromJoyConfig() - GetConfig() failed\n");
        return hr;
    }

    LPDIRECTINPUTDEVICEA device = nullptr;
    hr = pdi->CreateDevice(config.guidInstance, &device, nullptr);
    if (FAILED(hr) || !device) {
        Debug("DIUtilCreateDeviceFromJoyConfig() - CreateDevice() failed\n");
        return FAILED(hr) ? hr : E_FAIL;
    }

    LPDIRECTINPUTDEVICE2A device2 = nullptr;
    hr = device->QueryInterface(IID_IDirectInputDevice2A, reinterpret_cast<void**>(&device2));
    device->Release();
    if (FAILED(hr) || !device2) {
        Debug("DIUtilCreateDeviceFromJoyConfig() - QueryInterface(IDirectInputDevice2) failed\n");
        return FAILED(hr) ? hr : E_NOINTERFACE;
    }

    // A device the caller never receives is released here, not leaked.
    hr = device2->SetDataFormat(&c_dfDIJoystick);
    if (FAILED(hr)) {
        Debug("DIUtilCreateDeviceFromJoyConfig() - SetDataFormat(Joystick) failed\n");
        device2->Release();
        return hr;
    }
    hr = device2->SetCooperativeLevel(window, DISCL_EXCLUSIVE | DISCL_BACKGROUND);
    if (FAILED(hr)) {
        Debug("DIUtilCreateDeviceFromJoyConfig() - SetCooperativeLevel() failed\n");
        device2->Release();
        return hr;
    }
    *ppdiDevice2 = device2;
    return hr;
}

HRESULT DIUtilGetJoystickTypeName(short joystickId, LPDIRECTINPUTJOYCONFIG pdiJoyCfg, char* tszTypeName, int size) {
    if (!Writable(pdiJoyCfg, 4)) {
        Debug("DIUtilGetJoystickTypeName() - invalid pdiJoyCfg\n");
        return E_POINTER;
    }
    if (size <= 0 || !Writable(tszTypeName, static_cast<UINT_PTR>(size))) {
        Debug("DIUtilGetJoystickTypeName() - invalid tszTypeName\n");
        return E_POINTER;
    }

    DIJOYCONFIG config;
    std::memset(&config, 0, sizeof config);
    config.dwSize = kJoyConfigSize;
    const HRESULT hr = pdiJoyCfg->GetConfig(static_cast<UINT>(joystickId), &config, DIJC_REGHWCONFIGTYPE);
    if (SUCCEEDED(hr)) {
        // The buffer the caller passed bounds the copy as well as the limit.
        const int limit = size < kTypeNameLimit ? size : kTypeNameLimit;
        config.wszType[255] = L'\0';
        if (::WideCharToMultiByte(CP_ACP, 0, config.wszType, -1, tszTypeName, limit, nullptr, nullptr) == 0)
            tszTypeName[limit - 1] = '\0';
    } else {
        tszTypeName[0] = '\0';
        ::LoadStringA(Module().Instance, IDS_TYPE_NAME_ERROR, tszTypeName, size);
        char line[kTypeNameLimit + 2];
        lstrcpynA(line, tszTypeName, kTypeNameLimit);
        lstrcatA(line, "\n");
        Debug(line);
    }
    return hr;
}

HRESULT DIUtilPollJoystick(LPDIRECTINPUTDEVICE2A pdiDevice2, DIJOYSTATE* pdijs) {
    if (!Writable(pdiDevice2, 4)) {
        Debug("DIUtilPollJoystick() - invalid pdiDevice2\n");
        return E_POINTER;
    }
    if (!Writable(pdijs, sizeof(DIJOYSTATE))) {
        Debug("DIUtilPollJoystick() - invalid pdijs\n");
        return E_POINTER;
    }
    std::memset(pdijs, 0, sizeof(DIJOYSTATE));
    pdiDevice2->Poll();
    const HRESULT hr = pdiDevice2->GetDeviceState(sizeof(DIJOYSTATE), pdijs);
    if (FAILED(hr)) {
        Debug("DIUtilPollJoystick() - GetDeviceState() failed\n");
        std::memset(pdijs, 0, sizeof(DIJOYSTATE));
    }
    return hr;
}

}  // namespace padpanel
