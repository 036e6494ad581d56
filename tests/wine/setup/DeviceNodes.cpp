#include "tests/wine/setup/DeviceNodes.h"

#include "setup/HardwareIdList.h"

namespace setuptest {

namespace {

// GUID_DEVCLASS_HIDCLASS
const GUID kHidClass = {0x745a17a0, 0x74d3, 0x11d0, {0xb6, 0xfe, 0x00, 0xa0, 0xc9, 0x0f, 0x57, 0xda}};

RegValue ReadProperty(HDEVINFO list, SP_DEVINFO_DATA& node, DWORD property) {
    RegValue value;
    DWORD size = 0;
    ::SetupDiGetDeviceRegistryPropertyA(list, &node, property, nullptr, nullptr, 0, &size);
    if (size == 0) return value;
    value.Data.resize(size);
    if (!::SetupDiGetDeviceRegistryPropertyA(list, &node, property, &value.Type, value.Data.data(), size, &size)) {
        return RegValue{};
    }
    value.Data.resize(size);
    value.Present = true;
    return value;
}

}  // namespace

TestDeviceNode::TestDeviceNode(const std::string& instanceId, const Bytes& hardwareIds)
    : instanceId_(instanceId), list_(::SetupDiCreateDeviceInfoList(&kHidClass, nullptr)) {
    if (!list_) return;
    node_.cbSize = sizeof node_;
    if (!::SetupDiCreateDeviceInfoA(list_.get(), instanceId.c_str(), &kHidClass, nullptr, nullptr, 0, &node_)) {
        return;
    }
    if (!hardwareIds.empty() &&
        !::SetupDiSetDeviceRegistryPropertyA(list_.get(), &node_, SPDRP_HARDWAREID, hardwareIds.data(),
                                             static_cast<DWORD>(hardwareIds.size()))) {
        return;
    }
    registered_ = ::SetupDiRegisterDeviceInfo(list_.get(), &node_, 0, nullptr, nullptr, nullptr) != FALSE;
}

TestDeviceNode::~TestDeviceNode() {
    if (registered_) ::SetupDiRemoveDevice(list_.get(), &node_);
}

void TestDeviceNode::SetUpperFilters(const Bytes& filters) {
    ::SetupDiSetDeviceRegistryPropertyA(list_.get(), &node_, SPDRP_UPPERFILTERS, filters.data(),
                                        static_cast<DWORD>(filters.size()));
}

RegValue TestDeviceNode::UpperFilters() const {
    // A fresh list sees what another process wrote.
    win::UniqueDevInfo list(::SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES));
    if (!list) return {};
    SP_DEVINFO_DATA node{};
    node.cbSize = sizeof node;
    if (!::SetupDiOpenDeviceInfoA(list.get(), instanceId_.c_str(), nullptr, 0, &node)) return {};
    return ReadProperty(list.get(), node, SPDRP_UPPERFILTERS);
}

std::vector<std::string> PresentNodesHolding(const char* id) {
    std::vector<std::string> found;
    win::UniqueDevInfo list(::SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES));
    if (!list) return found;
    for (DWORD i = 0;; ++i) {
        SP_DEVINFO_DATA node{};
        node.cbSize = sizeof node;
        if (!::SetupDiEnumDeviceInfo(list.get(), i, &node)) break;
        RegValue ids = ReadProperty(list.get(), node, SPDRP_HARDWAREID);
        if (!ids.Present ||
            !padsetup::HardwareIdListHolds(reinterpret_cast<const char*>(ids.Data.data()), ids.Data.size(),
                                           ids.Data.size(), id)) {
            continue;
        }
        char instance[512] = "";
        ::SetupDiGetDeviceInstanceIdA(list.get(), &node, instance, sizeof instance, nullptr);
        found.push_back(instance);
    }
    return found;
}

}  // namespace setuptest
