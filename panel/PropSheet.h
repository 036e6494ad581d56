// The property sheet object: the page table the control panel shows, the
// joystick id, and the DirectInput interfaces the six pages share.
#pragma once

#include <windows.h>

#include <array>

#include "panel/GameCntrlPropSheet.h"

namespace padpanel {

inline constexpr int kPageCount = 6;
inline constexpr USHORT kNoJoystickId = 0xFFFF;
inline constexpr size_t kPageTitleCapacity = 256;  // wide characters, terminator included
inline constexpr size_t kCaptionCapacity = 260;

class PropSheet final : public IDIGameCntrlPropSheet {
public:
    // A new sheet with one reference, or null when memory runs out.
    static PropSheet* Create();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDIGameCntrlPropSheet
    HRESULT STDMETHODCALLTYPE GetSheetInfo(LPDIGCSHEETINFO* sheetInfo) override;
    HRESULT STDMETHODCALLTYPE GetPageInfo(LPDIGCPAGEINFO* pageInfo) override;
    HRESULT STDMETHODCALLTYPE SetID(USHORT id) override;
    USHORT STDMETHODCALLTYPE GetID() override;
    HRESULT STDMETHODCALLTYPE Initialize() override;
    HRESULT STDMETHODCALLTYPE SetDevice(LPDIRECTINPUTDEVICE2A device) override;
    HRESULT STDMETHODCALLTYPE GetDevice(LPDIRECTINPUTDEVICE2A* device) override;
    HRESULT STDMETHODCALLTYPE SetJoyConfig(LPDIRECTINPUTJOYCONFIG config) override;
    HRESULT STDMETHODCALLTYPE GetJoyConfig(LPDIRECTINPUTJOYCONFIG* config) override;

private:
    PropSheet();
    ~PropSheet();

    LONG refs_ = 0;
    USHORT joystickId_ = kNoJoystickId;
    DIGCSHEETINFO sheetInfo_{};
    std::array<DIGCPAGEINFO, kPageCount> pages_{};
    LPDIRECTINPUTDEVICE2A device_ = nullptr;  // owned: handed over by device binding
    LPDIRECTINPUTJOYCONFIG joyConfig_ = nullptr;  // owned likewise
    WCHAR caption_[kCaptionCapacity] = {};
    WCHAR titles_[kPageCount][kPageTitleCapacity] = {};
};

}  // namespace padpanel
