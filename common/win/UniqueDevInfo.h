// An owner for a device information list of the device-setup interface.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include "common/win/UniqueResource.h"

namespace win {

struct DevInfoTraits {
    static HDEVINFO Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(HDEVINFO list) { ::SetupDiDestroyDeviceInfoList(list); }
};

using UniqueDevInfo = UniqueResource<HDEVINFO, DevInfoTraits>;

}  // namespace win
