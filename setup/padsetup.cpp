// padsetup: registers the pad as an OEM joystick type for DirectInput and the
// Game Controllers panel, and puts the filter driver above the pad's HID
// device node. Reads no arguments, shows nothing, always ends with 1.
#include <windows.h>
#include <setupapi.h>

#include <string>
#include <vector>

#include "common/ProductIdentity.h"
#include "common/win/UniqueResource.h"
#include "setup/DeviceInfoSet.h"
#include "setup/HardwareIdList.h"
#include "setup/InstallerData.h"
#include "setup/KeyPaths.h"

using namespace padsetup;

namespace {

// A hardware-id list longer than the usual buffer is read again into one of
// its own size, up to this bound; a node past it is passed over.
constexpr DWORD kLargestHardwareIdList = 64 * 1024;

LONG CreateKey(HKEY parent, const std::string& path, win::UniqueHKey& out) {
    if (path.empty()) return ERROR_BAD_PATHNAME;
    HKEY raw = nullptr;
    const LONG status = ::RegCreateKeyA(parent, path.c_str(), &raw);
    if (status == ERROR_SUCCESS) out.reset(raw);
    return status;
}

void SetString(HKEY key, const char* name, const char* text) {
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                     static_cast<DWORD>(::lstrlenA(text) + 1));
}

template <std::size_t N>
void SetBinary(HKEY key, const char* name, const Block<N>& block) {
    ::RegSetValueExA(key, name, 0, REG_BINARY, block.data(), static_cast<DWORD>(N));
}

// Names the filter on every instance key that already names one.
void RewriteInstanceFilters(HKEY instances) {
    DWORD count = 0;
    if (::RegQueryInfoKeyA(instances, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0; i < count; ++i) {
        char name[kNameBufferSize];
        if (::RegEnumKeyA(instances, i, name, sizeof name) != ERROR_SUCCESS) continue;
        win::UniqueHKey instance;
        if (CreateKey(instances, name, instance) != ERROR_SUCCESS) continue;
        BYTE filter[kNameBufferSize];
        DWORD size = sizeof filter;
        if (::RegQueryValueExA(instance.get(), kUpperFiltersValue, nullptr, nullptr, filter, &size) == ERROR_SUCCESS)
            SetString(instance.get(), kUpperFiltersValue, kFilterDriver);
    }
}

// Writes the OEM type entry of the product with this low byte, then the
// instance filters. Returns the error of opening the instance key, else the
// status of closing it.
LONG RegisterOemType(unsigned productLowByte) {
    win::UniqueHKey key;
    if (CreateKey(HKEY_LOCAL_MACHINE, OemTypeKeyPath(productLowByte), key) == ERROR_SUCCESS) {
        SetString(key.get(), kConfigClsidValue, pad::kPropertySheetClsid);
        SetBinary(key.get(), kOemDataValue, Pack(HardwareSettings{}));
        SetString(key.get(), kOemNameValue, kOemName);
        key.reset();
    }
    for (int axis = 0; axis < kAxisCount; ++axis) {
        if (CreateKey(HKEY_LOCAL_MACHINE, AxisKeyPath(productLowByte, axis), key) != ERROR_SUCCESS) continue;
        SetBinary(key.get(), kAttributesValue, Pack(AxisAttributes{}));
        SetBinary(key.get(), kFfAttributesValue, Pack(AxisFfAttributes{}));
        key.reset();
    }
    if (CreateKey(HKEY_LOCAL_MACHINE, ForceFeedbackKeyPath(productLowByte), key) == ERROR_SUCCESS) {
        SetString(key.get(), kClsidValue, pad::kForceDriverClsid);
        SetBinary(key.get(), kAttributesValue, Pack(DeviceFfAttributes{}));
        key.reset();
    }
    const LONG opened = CreateKey(HKEY_LOCAL_MACHINE, kDeviceInstanceKey, key);
    if (opened != ERROR_SUCCESS) return opened;
    RewriteInstanceFilters(key.get());
    return ::RegCloseKey(key.release());
}

enum class IdRead { Read, PassOver, Stop };

// Reads the node's hardware-id list into `ids`, growing it once when the
// list does not fit; no read asks for more than the buffer holds.
IdRead ReadHardwareIds(HDEVINFO nodes, SP_DEVINFO_DATA& node, std::vector<char>& ids, DWORD& size) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        size = 0;
        if (::SetupDiGetDeviceRegistryPropertyA(nodes, &node, SPDRP_HARDWAREID, nullptr,
                                                reinterpret_cast<BYTE*>(ids.data()),
                                                static_cast<DWORD>(ids.size()), &size))
            return IdRead::Read;
        const DWORD error = ::GetLastError();
        if (error == ERROR_INVALID_DATA) return IdRead::PassOver;  // the node has no hardware id
        if (error != ERROR_INSUFFICIENT_BUFFER) return IdRead::Stop;
        if (size <= ids.size() || size > kLargestHardwareIdList) return IdRead::PassOver;
        ids.resize(size);
    }
    return IdRead::PassOver;  // the list grew again between the two reads
}

// Registers the type and sets the filter on the first present node that
// carries the pad's hardware id. True when the last error is NO_ERROR at the
// end, which it is not when the enumeration simply ran out of nodes.
bool FilterFirstPadNode() {
    DeviceInfoSet nodes(::SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES));
    if (!nodes) return false;
    std::vector<char> ids(kHardwareIdBufferSize);
    for (DWORD index = 0;; ++index) {
        SP_DEVINFO_DATA node{};
        node.cbSize = sizeof node;
        if (!::SetupDiEnumDeviceInfo(nodes.get(), index, &node)) break;
        DWORD size = 0;
        const IdRead read = ReadHardwareIds(nodes.get(), node, ids, size);
        if (read == IdRead::PassOver) continue;
        if (read == IdRead::Stop) break;
        if (!HardwareIdListHolds(ids.data(), ids.size(), size, kPadHardwareId)) continue;
        RegisterOemType(kPadProductLowByte);
        const auto filter = FilterMultiString();
        ::SetupDiSetDeviceRegistryPropertyA(nodes.get(), &node, SPDRP_UPPERFILTERS,
                                            reinterpret_cast<const BYTE*>(filter.data()),
                                            static_cast<DWORD>(filter.size()));
        break;
    }
    const DWORD last = ::GetLastError();
    nodes.reset();
    ::SetLastError(last);
    return last == NO_ERROR;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    FilterFirstPadNode();
    RegisterOemType(kPadProductLowByte);
    return 1;
}
