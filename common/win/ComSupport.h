// The COM plumbing both servers share.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <initializer_list>

namespace win {

// QueryInterface for an object that answers a fixed list of interfaces with
// one pointer: AddRef and S_OK, or a null out pointer and E_NOINTERFACE.
template <class Object>
HRESULT QueryFromList(Object* self, void* asInterface, REFIID riid, void** ppv,
                      std::initializer_list<const IID*> answered) {
    if (!ppv) return E_POINTER;
    for (const IID* iid : answered) {
        if (IsEqualIID(riid, *iid)) {
            self->AddRef();
            *ppv = asInterface;
            return S_OK;
        }
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

}  // namespace win
