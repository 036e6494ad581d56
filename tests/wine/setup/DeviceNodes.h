// Device nodes that a test registers through the device-setup interface and
// removes again. Wine counts every registered node as present.
#pragma once

#include <string>
#include <vector>

#include "common/win/UniqueDevInfo.h"
#include "tests/wine/setup/RegistryProbe.h"

namespace setuptest {

class TestDeviceNode {
public:
    // instanceId like "HID\VID_7A3C&PID_A02F\1&test&0"; hardwareIds a multi-string,
    // or empty for a node without any.
    TestDeviceNode(const std::string& instanceId, const Bytes& hardwareIds);
    ~TestDeviceNode();
    TestDeviceNode(const TestDeviceNode&) = delete;
    TestDeviceNode& operator=(const TestDeviceNode&) = delete;

    bool Registered() const { return registered_; }
    const std::string& InstanceId() const { return instanceId_; }
    void SetUpperFilters(const Bytes& filters);
    // The node's SPDRP_UPPERFILTERS as the device-setup interface reads it back.
    RegValue UpperFilters() const;

private:
    std::string instanceId_;
    win::UniqueDevInfo list_;
    SP_DEVINFO_DATA node_{};
    bool registered_ = false;
};

// What the device-setup interface lists as present, in enumeration order,
// read here without the installer's own hardware-id walk.
struct PresentNode {
    std::string InstanceId;
    std::vector<std::string> HardwareIds;
};
std::vector<PresentNode> PresentNodes();

// The nodes of `created` (instance ids a test registered) in the order the
// device-setup interface enumerates them; instance ids compare without case.
std::vector<std::string> EnumerationOrder(const std::vector<std::string>& created);

// Instance ids of the present nodes that carry `hardwareId` as a whole entry, in any case.
std::vector<std::string> PresentNodesWithHardwareId(const std::string& hardwareId);

}  // namespace setuptest
