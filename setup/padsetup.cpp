// padsetup: registers the pad as an OEM joystick type naming both COM servers,
// and puts the filter driver above the pad's HID device node. No window, no
// output; the exit code is always 1.
#include <windows.h>
#include <setupapi.h>

#include <memory>
#include <new>

#include "common/ProductIdentity.h"
#include "common/win/UniqueDevInfo.h"
#include "common/win/UniqueResource.h"
#include "setup/HardwareIdList.h"
#include "setup/KeyPaths.h"
#include "setup/OemBlocks.h"
#include "setup/SetupIdentity.h"

namespace {

using namespace padsetup;

// Hardware-id lists past this are not real ones; such a node is passed over.
constexpr DWORD kLargestHardwareIdList = 1u << 20;

void SetString(HKEY key, const char* name, const char* text) {
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), ::lstrlenA(text) + 1);
}

template <size_t N>
void SetBinary(HKEY key, const char* name, const std::array<uint8_t, N>& bytes) {
    ::RegSetValueExA(key, name, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(N));
}

win::UniqueHKey CreateKey(HKEY parent, const char* path) {
    win::UniqueHKey key;
    if (::RegCreateKeyA(parent, path, key.put()) != ERROR_SUCCESS) key.release();
    return key;
}

// Instances of the pad that already name an upper filter get ours instead.
void RewriteInstanceFilters(HKEY instances) {
    DWORD subkeys = 0;
    if (::RegQueryInfoKeyA(instances, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return;
    }
    char name[kNameBufferSize];
    for (DWORD index = 0; index < subkeys; ++index) {
        if (::RegEnumKeyA(instances, index, name, sizeof name) != ERROR_SUCCESS) continue;
        win::UniqueHKey instance = CreateKey(instances, name);
        if (!instance) continue;
        BYTE filter[kNameBufferSize];
        DWORD size = sizeof filter;
        if (::RegQueryValueExA(instance.get(), kValueUpperFilters, nullptr, nullptr, filter, &size) ==
            ERROR_SUCCESS) {
            SetString(instance.get(), kValueUpperFilters, kFilterDriver);
        }
    }
}

// Writes the OEM type entry for the product's low byte and rewrites the
// instance filters. Returns the error of opening the instance key, else the
// status of closing it.
LONG RegisterOemType(unsigned lowByte) {
    char path[kNameBufferSize];
    if (FormatOemTypeKey(path, sizeof path, lowByte)) {
        if (win::UniqueHKey oem = CreateKey(HKEY_LOCAL_MACHINE, path)) {
            SetString(oem.get(), kValueConfigClsid, pad::kPropertySheetClsid);
            SetBinary(oem.get(), kValueOemData, kHardwareSettings.Bytes());
            SetString(oem.get(), kValueOemName, kOemName);
        }
    }
    for (int axis = 0; axis < kForceAxisCount; ++axis) {
        if (!FormatOemAxisKey(path, sizeof path, lowByte, axis)) continue;
        if (win::UniqueHKey key = CreateKey(HKEY_LOCAL_MACHINE, path)) {
            SetBinary(key.get(), kValueAttributes, kAxisAttributes.Bytes());
            SetBinary(key.get(), kValueFfAttributes, kAxisForceAttributes.Bytes());
        }
    }
    if (FormatOemForceFeedbackKey(path, sizeof path, lowByte)) {
        if (win::UniqueHKey key = CreateKey(HKEY_LOCAL_MACHINE, path)) {
            SetString(key.get(), kValueClsid, pad::kForceDriverClsid);
            SetBinary(key.get(), kValueAttributes, kDeviceForceAttributes.Bytes());
        }
    }

    win::UniqueHKey instances;
    const LONG opened = ::RegCreateKeyA(HKEY_LOCAL_MACHINE, kInstanceKey, instances.put());
    if (opened != ERROR_SUCCESS) {
        instances.release();
        return opened;
    }
    RewriteInstanceFilters(instances.get());
    return ::RegCloseKey(instances.release());
}

enum class IdRead { Read, NoIds, TooLong, Failed };

IdRead ReadHardwareIds(HDEVINFO devices, SP_DEVINFO_DATA& node, BYTE* buffer, DWORD capacity,
                       DWORD& returned) {
    returned = 0;
    if (::SetupDiGetDeviceRegistryPropertyA(devices, &node, SPDRP_HARDWAREID, nullptr, buffer, capacity,
                                            &returned)) {
        return IdRead::Read;
    }
    switch (::GetLastError()) {
    case ERROR_INVALID_DATA: return IdRead::NoIds;
    case ERROR_INSUFFICIENT_BUFFER: return IdRead::TooLong;
    default: return IdRead::Failed;
    }
}

// A list longer than the fixed buffer is read again into one of the size the
// first call asked for; a node whose list still does not fit is passed over.
bool HoldsPadInLongList(HDEVINFO devices, SP_DEVINFO_DATA& node, DWORD required) {
    if (required == 0 || required > kLargestHardwareIdList) return false;
    std::unique_ptr<BYTE[]> grown(new (std::nothrow) BYTE[required]);
    if (!grown) return false;
    DWORD returned = 0;
    if (ReadHardwareIds(devices, node, grown.get(), required, returned) != IdRead::Read) return false;
    return HardwareIdListHolds(reinterpret_cast<const char*>(grown.get()), required, returned, kPadHardwareId);
}

// Sets the filter on the first present device node that is the pad. True when
// the thread's last error is NO_ERROR at the end, which an exhausted
// enumeration (ERROR_NO_MORE_ITEMS) is not.
bool AttachFilterToDeviceNode() {
    win::UniqueDevInfo devices(
        ::SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES));
    if (!devices) return false;

    BYTE ids[kHardwareIdBufferSize];
    for (DWORD index = 0;; ++index) {
        SP_DEVINFO_DATA node{};
        node.cbSize = sizeof node;
        if (!::SetupDiEnumDeviceInfo(devices.get(), index, &node)) break;

        DWORD returned = 0;
        const IdRead read = ReadHardwareIds(devices.get(), node, ids, sizeof ids, returned);
        bool isPad = false;
        if (read == IdRead::Read) {
            isPad = HardwareIdListHolds(reinterpret_cast<const char*>(ids), sizeof ids, returned, kPadHardwareId);
        } else if (read == IdRead::TooLong) {
            isPad = HoldsPadInLongList(devices.get(), node, returned);
        } else if (read == IdRead::Failed) {
            break;
        }
        if (!isPad) continue;

        RegisterOemType(kPadProductLowByte);
        ::SetupDiSetDeviceRegistryPropertyA(devices.get(), &node, SPDRP_UPPERFILTERS,
                                            reinterpret_cast<const BYTE*>(kFilterMultiString),
                                            sizeof kFilterMultiString);
        break;
    }

    const DWORD saved = ::GetLastError();
    devices.reset();
    ::SetLastError(saved);
    return saved == NO_ERROR;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    AttachFilterToDeviceNode();
    RegisterOemType(kPadProductLowByte);
    return 1;
}
