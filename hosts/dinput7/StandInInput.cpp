// IDirectInputA: makes the pad's device and hands out the joystick configuration.
#include <new>

#include "hosts/dinput7/StandIn.h"

namespace dinput7 {

namespace {

class Input final : public IDirectInputA, public RefCounted {
public:
    Input() { Count(&padstate::StandInCounters::DirectInputCreated); }
    ~Input() override { Count(&padstate::StandInCounters::DirectInputReleased); }

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDirectInputA)) {
            AddRef();
            *ppv = static_cast<IDirectInputA*>(this);
            return S_OK;
        }
        if (IsEqualIID(riid, IID_IDirectInputJoyConfig)) {
            Count(&padstate::StandInCounters::JoyConfigQueries);
            return CreateJoyConfig(reinterpret_cast<IDirectInputJoyConfig**>(ppv));
        }
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return AddRefImpl(); }
    STDMETHOD_(ULONG, Release)() override { return ReleaseImpl(); }

    STDMETHOD(CreateDevice)(REFGUID guid, IDirectInputDeviceA** device, IUnknown* outer) override {
        if (!device) return E_POINTER;
        *device = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        if (State()->Failures & (padstate::kFailNoPad | padstate::kFailCreateDevice)) return DIERR_DEVICENOTREG;
        if (!IsEqualGUID(guid, kPadInstanceGuid)) return DIERR_DEVICENOTREG;
        return dinput7::CreateDevice(device);
    }
    STDMETHOD(EnumDevices)(DWORD, LPDIENUMDEVICESCALLBACKA, LPVOID, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetDeviceStatus)(REFGUID guid) override {
        return IsEqualGUID(guid, kPadInstanceGuid) && State()->Plugged ? DI_OK : DI_NOTATTACHED;
    }
    STDMETHOD(RunControlPanel)(HWND, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(HINSTANCE, DWORD) override { return DI_OK; }
};

}  // namespace

HRESULT CreateInput(IDirectInputA** out) {
    *out = new (std::nothrow) Input();
    return *out ? DI_OK : E_OUTOFMEMORY;
}

}  // namespace dinput7
