// What DirectInput does with the pad's force-feedback driver, in one object:
// load the DLL, show it the pad through the joystick query, create the
// driver, bind joystick ids to pad paths, pass effects, release it.
#pragma once

#include <windows.h>
#include <dinput.h>
#include <dinputd.h>
#include <wrl/client.h>

#include <memory>
#include <string>

#include "common/ProductIdentity.h"
#include "hosts/dihost/BuiltEffect.h"
#include "hosts/dihost/DriverModule.h"
#include "hosts/dihost/ImportPatch.h"
#include "tools/simpad/SimPad.h"

namespace padhost {

class PadHost {
public:
    // Null, with the reason in *error, when the DLL cannot be loaded, does
    // not import joyGetDevCapsA, or yields no driver.
    static std::unique_ptr<PadHost> Open(const std::string& driverPath, std::string* error);
    // Releases the driver if still held, takes the ids it bound out of the
    // joystick table, restores the import and unloads the DLL if it allows.
    ~PadHost();
    PadHost(const PadHost&) = delete;
    PadHost& operator=(const PadHost&) = delete;

    // Null once released.
    IDirectInputEffectDriver* Driver() const { return driver_.Get(); }
    const DriverModule& Module() const { return *module_; }
    const ImportPatch& JoystickPatch() const { return patch_; }

    // As DirectInput binds a device: the joystick table answers productId
    // for id, then DeviceID(0x0700, id, TRUE, id, DIHIDFFINITINFO naming path).
    // Put the settings record in the registry first (SettingsKey.h).
    HRESULT Bind(DWORD id, const std::wstring& path, uint16_t productId = pad::kProductId);
    HRESULT Bind(DWORD id, const simpad::SimPad& pad, uint16_t productId = pad::kProductId) {
        return Bind(id, pad.WidePath(), productId);
    }

    // DownloadEffect with the effect's own id; *handle 0 makes a new effect.
    HRESULT Download(DWORD id, const BuiltEffect& effect, DWORD* handle, DWORD flags = DIEP_ALLPARAMS | DIEP_START);

    // Drops the host's reference; returns what Release returned (0 when it was the last).
    ULONG Release();

private:
    PadHost() = default;

    std::unique_ptr<DriverModule> module_;
    ImportPatch patch_;
    Microsoft::WRL::ComPtr<IDirectInputEffectDriver> driver_;
    unsigned boundIds_ = 0;  // bit per joystick id put in the table
};

// The instance GUID the host hands the driver with each id.
GUID PadInstanceGuid(DWORD id);

}  // namespace padhost
