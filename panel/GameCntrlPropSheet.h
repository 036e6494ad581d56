// The control panel's interface to a device's own property sheet, declared
// from its published layout: the MinGW headers do not carry it.
#pragma once

#include <windows.h>
#include <dinput.h>
#include <dinputd.h>

#include <cstddef>

using LPDIRECTINPUTJOYCONFIG = IDirectInputJoyConfig*;

// Sheet description: 20 bytes on 32-bit.
struct DIGCSHEETINFO {
    DWORD dwSize;
    USHORT nNumPages;
    LPWSTR lpwszSheetCaption;
    BOOL fSheetIconFlag;
    LPWSTR lpwszSheetIcon;
};
using LPDIGCSHEETINFO = DIGCSHEETINFO*;

// One page: 40 bytes on 32-bit. Icon and template are resource ids
// (MAKEINTRESOURCEW) when their flags say so.
struct DIGCPAGEINFO {
    DWORD dwSize;
    LPWSTR lpwszPageTitle;
    DLGPROC fpPageProc;
    BOOL fProcFlag;
    DLGPROC fpPrePostProc;
    BOOL fIconFlag;
    LPWSTR lpwszPageIcon;
    LPWSTR lpwszTemplate;
    LPARAM lParam;
    HINSTANCE hInstance;
};
using LPDIGCPAGEINFO = DIGCPAGEINFO*;

#if !defined(_WIN64)
#ifndef _WIN64
static_assert(sizeof(DIGCSHEETINFO) == 20, "sheet description is 20 bytes on 32-bit Windows");
static_assert(sizeof(DIGCPAGEINFO) == 40, "page description is 40 bytes on 32-bit Windows");
#endif
#endif

// {7854FB22-8EE3-11D0-A1AC-0000F8026977}
extern "C" const IID IID_IDIGameCntrlPropSheet;

struct IDIGameCntrlPropSheet : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetSheetInfo(LPDIGCSHEETINFO* sheetInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPageInfo(LPDIGCPAGEINFO* pageInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetID(USHORT id) = 0;
    virtual USHORT STDMETHODCALLTYPE GetID() = 0;
    virtual HRESULT STDMETHODCALLTYPE Initialize() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDevice(LPDIRECTINPUTDEVICE2A device) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDevice(LPDIRECTINPUTDEVICE2A* device) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetJoyConfig(LPDIRECTINPUTJOYCONFIG config) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetJoyConfig(LPDIRECTINPUTJOYCONFIG* config) = 0;
};
