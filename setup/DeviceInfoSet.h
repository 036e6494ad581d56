// Owner of a SetupDi device information list.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include "common/win/UniqueResource.h"

namespace padsetup {

struct DeviceInfoSetTraits {
    static HDEVINFO Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(HDEVINFO set) { ::SetupDiDestroyDeviceInfoList(set); }
};

using DeviceInfoSet = win::UniqueResource<HDEVINFO, DeviceInfoSetTraits>;

}  // namespace padsetup
