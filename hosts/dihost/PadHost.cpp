#include "hosts/dihost/PadHost.h"

#include "hosts/dihost/JoystickCaps.h"

namespace padhost {

GUID PadInstanceGuid(DWORD id) {
    GUID g = {0x6A1F0C00, 0x7A3C, 0xA02F, {0x90, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}};
    g.Data1 += id;
    return g;
}

std::unique_ptr<PadHost> PadHost::Open(const std::string& driverPath, std::string* error) {
    std::unique_ptr<PadHost> host(new PadHost());
    host->module_ = DriverModule::Load(driverPath, error);
    if (!host->module_) return nullptr;
    // Before the driver exists: nothing can have asked for a joystick yet.
    if (!PatchJoystickCaps(host->patch_, host->module_->Handle(), error)) return nullptr;
    const HRESULT hr = host->module_->CreateDriver(host->driver_);
    if (FAILED(hr)) {
        if (error) {
            char code[16];
            wsprintfA(code, "0x%08lX", static_cast<unsigned long>(hr));
            *error = "the driver in " + driverPath + " could not be created (" + code + ")";
        }
        return nullptr;
    }
    return host;
}

PadHost::~PadHost() {
    driver_.Reset();
    for (DWORD id = 0; id < kJoystickIds; ++id)
        if (boundIds_ & (1u << id)) RemoveJoystick(id);
    // The module stays loaded when it still has objects, so restoring its
    // slot is safe either way.
    patch_.Restore();
    module_.reset();
}

HRESULT PadHost::Bind(DWORD id, const std::wstring& path, uint16_t productId) {
    if (!driver_) return E_POINTER;
    if (id < kJoystickIds) {
        SetJoystick(id, productId);
        boundIds_ |= 1u << id;
    }
    DIHIDFFINITINFO init{};
    init.dwSize = sizeof init;
    init.pwszDeviceInterface = const_cast<LPWSTR>(path.c_str());
    init.GuidInstance = PadInstanceGuid(id);
    return driver_->DeviceID(DIRECTINPUT_VERSION, id, TRUE, id, &init);
}

HRESULT PadHost::Download(DWORD id, const BuiltEffect& effect, DWORD* handle, DWORD flags) {
    if (!driver_) return E_POINTER;
    return driver_->DownloadEffect(id, effect.EffectId(), handle, effect.Get(), flags);
}

ULONG PadHost::Release() {
    if (!driver_) return 0;
    IDirectInputEffectDriver* driver = driver_.Detach();
    return driver->Release();
}

}  // namespace padhost
