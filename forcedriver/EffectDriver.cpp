#include "EffectDriver.h"

#include "EffectConversion.h"
#include "FfDevice.h"
#include "Module.h"
#include "common/win/ComSupport.h"

namespace padforce {

namespace {

constexpr DWORD kFirmwareRevision = 3;
constexpr DWORD kHardwareRevision = 5;
constexpr DWORD kDriverVersion = 0x0F1F;

// Every per-device call checks the id first; an id that is in range but not
// bound is answered with S_OK and changes nothing.
bool InRange(DWORD id) { return id < kDeviceSlots; }

FfDevice* BoundDevice(DWORD id) { return Module().Devices.Find(id); }

// The interface path of the pad, in the ANSI code page; false when there is
// none or it does not fit.
bool DevicePathFrom(const void* reserved, char (&path)[kDevicePathSize]) {
    const auto* init = static_cast<const DIHIDFFINITINFO*>(reserved);
    if (!init || init->dwSize < offsetof(DIHIDFFINITINFO, GuidInstance) || !init->pwszDeviceInterface)
        return false;
    const int needed = ::WideCharToMultiByte(CP_ACP, 0, init->pwszDeviceInterface, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 0 || needed > static_cast<int>(kDevicePathSize)) return false;
    return ::WideCharToMultiByte(CP_ACP, 0, init->pwszDeviceInterface, -1, path, kDevicePathSize, nullptr,
                                 nullptr) > 0;
}

}  // namespace

EffectDriver::EffectDriver() : log_(kModuleLogDirectory) {}

EffectDriver::~EffectDriver() = default;

STDMETHODIMP EffectDriver::QueryInterface(REFIID riid, void** ppv) {
    return win::QueryFromList(this, static_cast<IDirectInputEffectDriver*>(this), riid, ppv,
                              {&IID_IUnknown, &IID_IDirectInputEffectDriver});
}

STDMETHODIMP_(ULONG) EffectDriver::AddRef() { return ::InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) EffectDriver::Release() {
    const LONG n = ::InterlockedDecrement(&refs_);
    if (n != 0) return n;
    ModuleState& m = Module();
    m.Devices.CloseAll();
    m.Driver.store(nullptr);
    delete this;
    return 0;
}

STDMETHODIMP EffectDriver::DeviceID(DWORD, DWORD externalId, DWORD begin, DWORD, LPVOID reserved) {
    if (!InRange(externalId)) return E_FAIL;
    if (!begin) return S_OK;
    ModuleState& m = Module();
    win::ScopedLock<win::CriticalSection> bind(m.Devices.BindLock());
    if (m.Devices.Find(externalId)) return S_OK;

    char path[kDevicePathSize] = {};
    if (!DevicePathFrom(reserved, path)) return E_INVALIDARG;

    RefPtr<FfDevice> device =
        MakeRef<FfDevice>(externalId, m.ErrorLog.get(), m.ModuleLog.get(), m.ZeroRepeatCount);
    if (!device) return E_FAIL;
    device->SetDevicePath(path);
    device->MarkBound();
    FfDevice* bound = device.get();
    m.Devices.Open(externalId, std::move(device));
    bound->WriteMotorLevels(0, 0);
    bound->Start();
    return S_OK;
}

STDMETHODIMP EffectDriver::GetVersions(LPDIDRIVERVERSIONS versions) {
    if (!versions) return E_POINTER;
    if (versions->dwSize < sizeof(DIDRIVERVERSIONS)) return E_INVALIDARG;
    versions->dwSize = sizeof(DIDRIVERVERSIONS);
    versions->dwFirmwareRevision = kFirmwareRevision;
    versions->dwHardwareRevision = kHardwareRevision;
    versions->dwFFDriverVersion = kDriverVersion;
    return S_OK;
}

STDMETHODIMP EffectDriver::Escape(DWORD, DWORD, LPDIEFFESCAPE) { return S_OK; }

STDMETHODIMP EffectDriver::SetGain(DWORD id, DWORD gain) {
    if (!InRange(id)) return E_FAIL;
    if (FfDevice* device = BoundDevice(id)) device->SetGain(gain);
    return S_OK;
}

STDMETHODIMP EffectDriver::SendForceFeedbackCommand(DWORD id, DWORD command) {
    if (!InRange(id)) return E_FAIL;
    FfDevice* device = BoundDevice(id);
    if (!device) return S_OK;
    switch (command) {
        case DISFFC_RESET: device->ResetAll(); break;
        case DISFFC_STOPALL: device->HaltAll(); break;
        case DISFFC_PAUSE: device->PauseAll(); break;
        case DISFFC_CONTINUE: device->ContinueAll(); break;
        default: break;  // actuators on and off: the pad has no switch for them
    }
    return S_OK;
}

STDMETHODIMP EffectDriver::GetForceFeedbackState(DWORD id, LPDIDEVICESTATE state) {
    if (!InRange(id)) return E_FAIL;
    if (!state) return E_POINTER;
    if (state->dwSize < sizeof(DIDEVICESTATE)) return E_INVALIDARG;
    if (FfDevice* device = BoundDevice(id)) {
        switch (device->Summary()) {
            case ff::PlaybackSummary::Idle: state->dwState = DIGFFS_STOPPED; break;
            case ff::PlaybackSummary::Paused: state->dwState = DIGFFS_PAUSED; break;
            case ff::PlaybackSummary::Playing: state->dwState = 0; break;
        }
    }
    state->dwLoad = 0;
    return S_OK;
}

STDMETHODIMP EffectDriver::DownloadEffect(DWORD id, DWORD effectId, LPDWORD handle, LPCDIEFFECT effect,
                                          DWORD flags) {
    if (!InRange(id)) return E_FAIL;
    if (!handle || !effect) return E_POINTER;
    FfDevice* device = BoundDevice(id);
    if (!device) return S_OK;

    const bool creating = *handle == 0;
    ff::EffectParams params;
    const HRESULT checked = ConvertEffect(*effect, flags, creating, params);
    if (FAILED(checked)) return checked;

    const StoreResult stored = creating ? device->AddEffect(effectId, handle, params, flags)
                                        : device->ModifyEffect(effectId, *handle, params, flags);
    // A record that could not be stored is a failure the game must see.
    if (stored == StoreResult::OutOfMemory) return E_OUTOFMEMORY;
    if (flags & DIEP_START) device->PlayEffect(*handle);
    // DIEP_NORESTART needs no answer: parameters change while an effect plays.
    return S_OK;
}

STDMETHODIMP EffectDriver::DestroyEffect(DWORD id, DWORD handle) {
    if (!InRange(id)) return E_FAIL;
    if (FfDevice* device = BoundDevice(id)) device->RemoveEffect(handle);
    return S_OK;
}

STDMETHODIMP EffectDriver::StartEffect(DWORD id, DWORD handle, DWORD, DWORD count) {
    if (!InRange(id)) return E_FAIL;
    FfDevice* device = BoundDevice(id);
    if (device && count > 0) device->PlayEffect(handle);  // any count plays once
    return S_OK;
}

STDMETHODIMP EffectDriver::StopEffect(DWORD id, DWORD handle) {
    if (!InRange(id)) return E_FAIL;
    if (FfDevice* device = BoundDevice(id)) device->HaltEffect(handle);
    return S_OK;
}

STDMETHODIMP EffectDriver::GetEffectStatus(DWORD id, DWORD handle, LPDWORD status) {
    if (!status) return E_POINTER;
    *status = 0;
    if (!InRange(id)) return E_FAIL;
    if (FfDevice* device = BoundDevice(id)) {
        const ff::PlayState s = device->QueryEffectState(handle);
        if (s == ff::PlayState::Playing || s == ff::PlayState::Paused) *status = DIEGES_PLAYING;
    }
    return S_OK;
}

}  // namespace padforce
