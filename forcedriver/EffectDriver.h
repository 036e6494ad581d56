// The object DirectInput talks to: IDirectInputEffectDriver over the
// module's device table. One per process.
#pragma once

#include <windows.h>
#include <dinput.h>
#include <dinputd.h>

#include "DiagLog.h"

namespace padforce {

class FfDevice;

class EffectDriver final : public IDirectInputEffectDriver {
public:
    EffectDriver();
    EffectDriver(const EffectDriver&) = delete;
    EffectDriver& operator=(const EffectDriver&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDirectInputEffectDriver
    STDMETHODIMP DeviceID(DWORD directInputVersion, DWORD externalId, DWORD begin, DWORD internalId,
                          LPVOID reserved) override;
    STDMETHODIMP GetVersions(LPDIDRIVERVERSIONS versions) override;
    STDMETHODIMP Escape(DWORD id, DWORD effect, LPDIEFFESCAPE escape) override;
    STDMETHODIMP SetGain(DWORD id, DWORD gain) override;
    STDMETHODIMP SendForceFeedbackCommand(DWORD id, DWORD command) override;
    STDMETHODIMP GetForceFeedbackState(DWORD id, LPDIDEVICESTATE state) override;
    STDMETHODIMP DownloadEffect(DWORD id, DWORD effectId, LPDWORD handle, LPCDIEFFECT effect,
                                DWORD flags) override;
    STDMETHODIMP DestroyEffect(DWORD id, DWORD handle) override;
    STDMETHODIMP StartEffect(DWORD id, DWORD handle, DWORD mode, DWORD count) override;
    STDMETHODIMP StopEffect(DWORD id, DWORD handle) override;
    STDMETHODIMP GetEffectStatus(DWORD id, DWORD handle, LPDWORD status) override;

private:
    ~EffectDriver();

    LONG refs_ = 1;
    DiagLog log_;
};

}  // namespace padforce
