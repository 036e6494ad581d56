// IDirectInputDevice2A of the pad: the joystick data format, acquisition and
// the 80-byte state read from the shared block.
#include <cstring>
#include <new>

#include "common/win/HidClass.h"
#include "hosts/dinput7/StandIn.h"

namespace dinput7 {

namespace {

class Device final : public IDirectInputDevice2A, public RefCounted {
public:
    Device() { Count(&padstate::StandInCounters::DevicesCreated); }
    ~Device() override { Count(&padstate::StandInCounters::DevicesReleased); }

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (IsEqualIID(riid, IID_IDirectInputDevice2A) && (State()->Failures & padstate::kFailDevice2))
            return E_NOINTERFACE;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDirectInputDeviceA) ||
            IsEqualIID(riid, IID_IDirectInputDevice2A)) {
            AddRef();
            *ppv = static_cast<IDirectInputDevice2A*>(this);
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return AddRefImpl(); }
    STDMETHOD_(ULONG, Release)() override { return ReleaseImpl(); }

    STDMETHOD(GetCapabilities)(LPDIDEVCAPS) override { return E_NOTIMPL; }
    STDMETHOD(EnumObjects)(LPDIENUMDEVICEOBJECTSCALLBACKA, LPVOID, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetProperty)(REFGUID property, LPDIPROPHEADER header) override {
        if (!header) return E_POINTER;
        if (&property != &DIPROP_GUIDANDPATH) return DIERR_UNSUPPORTED;
        if (header->dwSize != sizeof(DIPROPGUIDANDPATH) || header->dwHeaderSize != sizeof(DIPROPHEADER))
            return DIERR_INVALIDPARAM;
        auto* out = reinterpret_cast<DIPROPGUIDANDPATH*>(header);
        out->guidClass = win::kHidClassGuid;
        char path[padstate::kPathCapacity];
        std::memcpy(path, State()->ReportPath, sizeof path);
        path[sizeof path - 1] = '\0';
        ::MultiByteToWideChar(CP_ACP, 0, path, -1, out->wszPath, MAX_PATH);
        return DI_OK;
    }
    STDMETHOD(SetProperty)(REFGUID, LPCDIPROPHEADER) override { return DI_OK; }
    STDMETHOD(Acquire)() override {
        Count(&padstate::StandInCounters::Acquires);
        if (!formatSet_) return DIERR_INVALIDPARAM;
        if ((State()->Failures & padstate::kFailAcquire) || !State()->Plugged) return DIERR_UNPLUGGED;
        acquired_ = true;
        return DI_OK;
    }
    STDMETHOD(Unacquire)() override {
        Count(&padstate::StandInCounters::Unacquires);
        if (!acquired_) return DI_NOEFFECT;
        acquired_ = false;
        return DI_OK;
    }
    STDMETHOD(GetDeviceState)(DWORD size, LPVOID data) override {
        Count(&padstate::StandInCounters::StateReads);
        const HRESULT hr = ReadState(size, data);
        if (FAILED(hr)) Count(&padstate::StandInCounters::FailedStateReads);
        return hr;
    }
    STDMETHOD(GetDeviceData)(DWORD, LPDIDEVICEOBJECTDATA, LPDWORD, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetDataFormat)(LPCDIDATAFORMAT format) override {
        if (!format) return E_POINTER;
        if (State()->Failures & padstate::kFailDataFormat) return DIERR_INVALIDPARAM;
        if (acquired_) return DIERR_ACQUIRED;
        // Only the standard joystick format: 44 objects into an 80-byte state.
        if (format->dwDataSize != sizeof(DIJOYSTATE) || format->dwNumObjs != c_dfDIJoystick.dwNumObjs)
            return DIERR_INVALIDPARAM;
        formatSet_ = true;
        return DI_OK;
    }
    STDMETHOD(SetEventNotification)(HANDLE) override { return DI_OK; }
    STDMETHOD(SetCooperativeLevel)(HWND, DWORD flags) override {
        if (State()->Failures & padstate::kFailCooperativeLevel) return E_HANDLE;
        const DWORD exclusivity = flags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
        const DWORD ground = flags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
        if (exclusivity == 0 || exclusivity == (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE)) return DIERR_INVALIDPARAM;
        if (ground == 0 || ground == (DISCL_FOREGROUND | DISCL_BACKGROUND)) return DIERR_INVALIDPARAM;
        return DI_OK;
    }
    STDMETHOD(GetObjectInfo)(LPDIDEVICEOBJECTINSTANCEA, DWORD, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetDeviceInfo)(LPDIDEVICEINSTANCEA) override { return E_NOTIMPL; }
    STDMETHOD(RunControlPanel)(HWND, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(HINSTANCE, DWORD, REFGUID) override { return DI_OK; }
    STDMETHOD(CreateEffect)(REFGUID, LPCDIEFFECT, LPDIRECTINPUTEFFECT*, LPUNKNOWN) override { return E_NOTIMPL; }
    STDMETHOD(EnumEffects)(LPDIENUMEFFECTSCALLBACKA, LPVOID, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetEffectInfo)(LPDIEFFECTINFOA, REFGUID) override { return E_NOTIMPL; }
    STDMETHOD(GetForceFeedbackState)(LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(SendForceFeedbackCommand)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumCreatedEffectObjects)(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK, LPVOID, DWORD) override {
        return E_NOTIMPL;
    }
    STDMETHOD(Escape)(LPDIEFFESCAPE) override { return E_NOTIMPL; }
    STDMETHOD(Poll)() override {
        Count(&padstate::StandInCounters::Polls);
        if (!acquired_) return DIERR_NOTACQUIRED;
        if (!State()->Plugged || (State()->Failures & padstate::kFailInput)) return DIERR_INPUTLOST;
        return DI_OK;
    }
    STDMETHOD(SendDeviceData)(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD) override { return E_NOTIMPL; }

private:
    HRESULT ReadState(DWORD size, LPVOID data) {
        if (!data) return E_POINTER;
        if (size != sizeof(DIJOYSTATE)) return DIERR_INVALIDPARAM;
        if (!acquired_) return DIERR_NOTACQUIRED;
        const padstate::PadStateBlock& b = State().Block();
        if (!b.Plugged || (b.Failures & padstate::kFailInput)) return DIERR_INPUTLOST;
        DIJOYSTATE state;
        std::memset(&state, 0, sizeof state);
        state.lX = b.Axes[0];
        state.lY = b.Axes[1];
        state.lZ = b.Axes[2];
        state.lRx = b.Axes[3];
        state.lRy = b.Axes[4];
        state.lRz = b.Axes[5];
        state.rglSlider[0] = b.Axes[6];
        state.rglSlider[1] = b.Axes[7];
        for (int i = 0; i < padstate::kPovCount; ++i) state.rgdwPOV[i] = b.Pov[i];
        for (int i = 0; i < padstate::kButtonCount; ++i) state.rgbButtons[i] = b.Buttons[i] ? 0x80 : 0;
        std::memcpy(data, &state, sizeof state);
        return DI_OK;
    }

    bool formatSet_ = false;
    bool acquired_ = false;
};

}  // namespace

HRESULT CreateDevice(IDirectInputDeviceA** out) {
    *out = new (std::nothrow) Device();
    return *out ? DI_OK : E_OUTOFMEMORY;
}

}  // namespace dinput7
