#include "tests/wine/setup/DeviceNodes.h"

#include "common/win/HidClass.h"

namespace setuptest {

namespace {

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
    : instanceId_(instanceId), list_(::SetupDiCreateDeviceInfoList(&win::kHidClassGuid, nullptr)) {
    if (!list_) return;
    node_.cbSize = sizeof node_;
    if (!::SetupDiCreateDeviceInfoA(list_.get(), instanceId.c_str(), &win::kHidClassGuid, nullptr, nullptr, 0,
                                    &node_)) {
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

std::vector<PresentNode> PresentNodes() {
    std::vector<PresentNode> nodes;
    win::UniqueDevInfo list(::SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES));
    if (!list) return nodes;
    for (DWORD i = 0;; ++i) {
        SP_DEVINFO_DATA node{};
        node.cbSize = sizeof node;
        if (!::SetupDiEnumDeviceInfo(list.get(), i, &node)) break;
        PresentNode present;
        char instance[512] = "";
        ::SetupDiGetDeviceInstanceIdA(list.get(), &node, instance, sizeof instance, nullptr);
        present.InstanceId = instance;
        const RegValue ids = ReadProperty(list.get(), node, SPDRP_HARDWAREID);
        // Entry by entry up to the empty one or the data's end, whichever comes first.
        const char* data = reinterpret_cast<const char*>(ids.Data.data());
        for (size_t pos = 0; pos < ids.Data.size() && data[pos] != '\0';) {
            std::string entry;
            while (pos < ids.Data.size() && data[pos] != '\0') entry.push_back(data[pos++]);
            present.HardwareIds.push_back(entry);
            ++pos;
        }
        nodes.push_back(present);
    }
    return nodes;
}

std::vector<std::string> EnumerationOrder(const std::vector<std::string>& created) {
    std::vector<std::string> order;
    for (const PresentNode& node : PresentNodes()) {
        for (const std::string& id : created) {
            if (::lstrcmpiA(node.InstanceId.c_str(), id.c_str()) == 0) order.push_back(id);
        }
    }
    return order;
}

std::vector<std::string> PresentNodesWithHardwareId(const std::string& hardwareId) {
    std::vector<std::string> found;
    for (const PresentNode& node : PresentNodes()) {
        for (const std::string& id : node.HardwareIds) {
            if (::lstrcmpiA(id.c_str(), hardwareId.c_str()) == 0) {
                found.push_back(node.InstanceId);
                break;
            }
        }
    }
    return found;
}

}  // namespace setuptest
