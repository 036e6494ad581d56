// A force-feedback driver DLL loaded the way DirectInput loads it: by path,
// through its COM entry points, without registration.
#pragma once

#include <windows.h>
#include <dinput.h>
#include <dinputd.h>
#include <wrl/client.h>

#include <memory>
#include <string>

#include "common/win/UniqueResource.h"

namespace padhost {

// {5D1C2A90-7A3C-A02F-8E41-00104B7C3D21}
inline constexpr GUID kForceDriverClsid = {
    0x5D1C2A90, 0x7A3C, 0xA02F, {0x8E, 0x41, 0x00, 0x10, 0x4B, 0x7C, 0x3D, 0x21}};

class DriverModule {
public:
    // Null, with the reason in *error, when the DLL cannot be loaded or lacks an entry point.
    static std::unique_ptr<DriverModule> Load(const std::string& path, std::string* error);
    // Unloads only when the module says it can, as COM would; a module with
    // live objects stays loaded rather than have its code pulled away.
    ~DriverModule();
    DriverModule(const DriverModule&) = delete;
    DriverModule& operator=(const DriverModule&) = delete;

    HMODULE Handle() const { return module_.get(); }
    const std::string& Path() const { return path_; }

    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) const;
    HRESULT CanUnloadNow() const;
    // DllGetClassObject for the driver's class, then CreateInstance.
    HRESULT CreateDriver(Microsoft::WRL::ComPtr<IDirectInputEffectDriver>& out) const;

private:
    DriverModule() = default;

    using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    using CanUnloadNowFn = HRESULT(WINAPI*)();

    win::UniqueModule module_;
    std::string path_;
    GetClassObjectFn getClassObject_ = nullptr;
    CanUnloadNowFn canUnloadNow_ = nullptr;
};

}  // namespace padhost
