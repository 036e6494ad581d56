// IDirectInputJoyConfig: the one configured joystick is the pad, id 0.
#include <cstring>
#include <new>

#include "hosts/dinput7/StandIn.h"

namespace dinput7 {

namespace {

class JoyConfig final : public IDirectInputJoyConfig, public RefCounted {
public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDirectInputJoyConfig)) {
            AddRef();
            *ppv = static_cast<IDirectInputJoyConfig*>(this);
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return AddRefImpl(); }
    STDMETHOD_(ULONG, Release)() override { return ReleaseImpl(); }

    STDMETHOD(Acquire)() override { return DI_OK; }
    STDMETHOD(Unacquire)() override { return DI_OK; }
    STDMETHOD(SetCooperativeLevel)(HWND, DWORD) override { return DI_OK; }
    STDMETHOD(SendNotify)() override { return DI_OK; }
    STDMETHOD(EnumTypes)(LPVOID, LPVOID) override { return E_NOTIMPL; }
    STDMETHOD(GetTypeInfo)(LPCWSTR, LPDIJOYTYPEINFO, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetTypeInfo)(LPCWSTR, LPCDIJOYTYPEINFO, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(DeleteType)(LPCWSTR) override { return E_NOTIMPL; }

    STDMETHOD(GetConfig)(UINT id, LPDIJOYCONFIG config, DWORD flags) override {
        Count(&padstate::StandInCounters::GetConfigCalls);
        if (!config) return E_POINTER;
        const uint32_t failures = State()->Failures;
        if (failures & padstate::kFailGetConfig) return E_FAIL;
        if ((failures & padstate::kFailTypeName) && (flags & DIJC_REGHWCONFIGTYPE)) return E_FAIL;
        if (id != 0 || (failures & padstate::kFailNoPad)) return DIERR_NOMOREITEMS;
        if (config->dwSize != sizeof(DIJOYCONFIG) && config->dwSize != sizeof(DIJOYCONFIG_DX5))
            return DIERR_INVALIDPARAM;
        if (flags & DIJC_GUIDINSTANCE) config->guidInstance = kPadInstanceGuid;
        if (flags & DIJC_REGHWCONFIGTYPE) {
            std::memset(&config->hwc, 0, sizeof config->hwc);
            config->hwc.hws.dwNumButtons = 12;
            char name[padstate::kTypeNameCapacity];
            std::memcpy(name, State()->TypeName, sizeof name);
            name[sizeof name - 1] = '\0';
            ::MultiByteToWideChar(CP_ACP, 0, name, -1, config->wszType, 256);
        }
        if (flags & DIJC_GAIN) config->dwGain = 10000;
        return DI_OK;
    }
    STDMETHOD(SetConfig)(UINT, LPCDIJOYCONFIG, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(DeleteConfig)(UINT) override { return E_NOTIMPL; }
    STDMETHOD(GetUserValues)(LPDIJOYUSERVALUES, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetUserValues)(LPCDIJOYUSERVALUES, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(AddNewHardware)(HWND, REFGUID) override { return E_NOTIMPL; }
    STDMETHOD(OpenTypeKey)(LPCWSTR, DWORD, HKEY*) override { return E_NOTIMPL; }
    STDMETHOD(OpenConfigKey)(UINT, DWORD, HKEY*) override { return E_NOTIMPL; }
};

}  // namespace

HRESULT CreateJoyConfig(IDirectInputJoyConfig** out) {
    *out = new (std::nothrow) JoyConfig();
    return *out ? DI_OK : E_OUTOFMEMORY;
}

}  // namespace dinput7
