#include "tools/padstate/PadStateBlock.h"

#include <cstring>

namespace padstate {

void ResetBlock(PadStateBlock& block) {
    std::memset(&block, 0, sizeof block);
    block.Magic = kBlockMagic;
    block.Version = kBlockVersion;
    block.Plugged = 1;
    for (int32_t& axis : block.Axes) axis = kAxisCentre;
    for (uint32_t& pov : block.Pov) pov = kPovCentred;
    std::strcpy(block.TypeName, "VID_7A3C&PID_A02F");
}

int AxisIndex(const char* name) {
    static const char* const names[kAxisCount] = {"x", "y", "z", "rx", "ry", "rz", "slider0", "slider1"};
    if (!name) return -1;
    for (int i = 0; i < kAxisCount; ++i)
        if (std::strcmp(name, names[i]) == 0) return i;
    return -1;
}

uint32_t FailureFromName(const char* name) {
    struct Named {
        const char* Name;
        uint32_t Bit;
    };
    static const Named table[] = {{"nopad", kFailNoPad},
                                  {"getconfig", kFailGetConfig},
                                  {"typename", kFailTypeName},
                                  {"acquire", kFailAcquire},
                                  {"input", kFailInput},
                                  {"createdevice", kFailCreateDevice},
                                  {"device2", kFailDevice2},
                                  {"dataformat", kFailDataFormat},
                                  {"cooplevel", kFailCooperativeLevel}};
    if (!name) return 0;
    for (const Named& n : table)
        if (std::strcmp(name, n.Name) == 0) return n.Bit;
    return 0;
}

const char* FailureNames() {
    return "nopad getconfig typename acquire input createdevice device2 dataformat cooplevel";
}

}  // namespace padstate
