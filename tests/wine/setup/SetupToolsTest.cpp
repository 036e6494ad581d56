// padsetup.exe and padremove.exe from the staging folder, run as separate
// processes; what they leave is read back through the registry and the
// device-setup interface.
#include <gtest/gtest.h>

#include <string>

#include "tests/wine/setup/DeviceNodes.h"
#include "tests/wine/setup/RegistryProbe.h"
#include "tests/wine/setup/ToolRunner.h"

namespace {

using namespace setuptest;

const std::string kOemType =
    "System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\VID_7A3C&PID_A02f";
const std::string kInstances = "Enum\\HID\\VID_7A3C&PID_A02F";
const std::string kPadId = "HID\\VID_7A3C&PID_A02F";
const Bytes kFilter = MultiStringBytes({"VerUda98.sys"});

// Each case starts from a registry without the pad: no OEM type entry, no
// Windows 98 device branch (a Wine prefix has none of its own).
class SetupTools : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteTree(HKEY_LOCAL_MACHINE, kOemType);
        DeleteTree(HKEY_LOCAL_MACHINE, "Enum");
    }
    void TearDown() override { SetUp(); }

    static DWORD RunSetup() { return RunProgram(DistDir() + "padsetup.exe"); }
    static DWORD RunRemove() { return RunProgram(DistDir() + "padremove.exe"); }

    // What padsetup may change: the OEM entries, both device registries.
    static std::string Snapshot() {
        return DumpTree(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\MediaProperties") +
               DumpTree(HKEY_LOCAL_MACHINE, "Enum") +
               DumpTree(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Enum\\HID");
    }
};

void ExpectValue(const std::string& key, const char* name, DWORD type, const Bytes& data) {
    const RegValue v = ReadValue(HKEY_LOCAL_MACHINE, key, name);
    ASSERT_TRUE(v.Present) << "\"" << name << "\" is written under " << key;
    EXPECT_EQ(v.Type, type) << "\"" << name << "\" has its registry type";
    EXPECT_EQ(Hex(v.Data), Hex(data)) << "\"" << name << "\" has the tabled bytes";
}

TEST_F(SetupTools, InstallerWritesEveryValueOfTheOemTypeEntryWithItsExactTypeAndBytes) {
    ASSERT_EQ(RunSetup(), 1u) << "padsetup ends with exit code 1";

    ExpectValue(kOemType, "ConfigCLSID", REG_SZ, StringBytes("{2E8B4F16-7A3C-A02F-C5D2-0040A1E6B937}"));
    ExpectValue(kOemType, "OEMData", REG_BINARY, {0x0A, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00});
    ExpectValue(kOemType, "OEMName", REG_SZ, StringBytes("Zuraza Zirude joystick Zudavar"));
    for (const char* axis : {"\\Axes\\0", "\\Axes\\1"}) {
        ExpectValue(kOemType + axis, "Attributes", REG_BINARY, {0x01, 0x81, 0x00, 0x00});
        ExpectValue(kOemType + axis, "FFAttributes", REG_BINARY, {0x03, 0x00, 0x80, 0x10, 0x0C, 0x00, 0x00, 0x00});
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kOemType + "\\Axes\\2")) << "only axes 0 and 1 carry force";
    ExpectValue(kOemType + "\\OEMForceFeedback", "CLSID", REG_SZ,
                StringBytes("{5D1C2A90-7A3C-A02F-8E41-00104B7C3D21}"));
    ExpectValue(kOemType + "\\OEMForceFeedback", "Attributes", REG_BINARY,
                {0x00, 0x00, 0x00, 0x00, 0xE8, 0x03, 0x00, 0x00, 0xE8, 0x03, 0x00, 0x00});
}

TEST_F(SetupTools, InstallerWritesTheEntryAndTheInstanceKeyWhenNoPadIsPresent) {
    ASSERT_TRUE(PresentNodesWithHardwareId(kPadId).empty()) << "the prefix has no pad of its own";
    EXPECT_EQ(RunSetup(), 1u) << "padsetup ends with exit code 1 with nothing found";
    EXPECT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kOemType, "OEMName").Present);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kInstances)) << "the instance key is created empty";
    EXPECT_TRUE(SubkeyNames(HKEY_LOCAL_MACHINE, kInstances).empty());
}

TEST_F(SetupTools, InstallerRunTwiceLeavesTheSameRegistryAsRunOnce) {
    TestDeviceNode pad(kPadId + "\\1&twice&0", MultiStringBytes({kPadId + "&REV_0100", kPadId}));
    ASSERT_TRUE(pad.Registered());
    SetValue(HKEY_LOCAL_MACHINE, kInstances + "\\1&twice", "UpperFilters", REG_SZ, StringBytes("Old.sys"));

    ASSERT_EQ(RunSetup(), 1u);
    const std::string once = Snapshot();
    ASSERT_EQ(RunSetup(), 1u);
    EXPECT_EQ(Snapshot(), once);
}

TEST_F(SetupTools, InstallerRewritesUpperFiltersOnlyOnInstanceKeysThatNameOne) {
    SetValue(HKEY_LOCAL_MACHINE, kInstances + "\\with", "UpperFilters", REG_SZ, StringBytes("Old.sys"));
    SetValue(HKEY_LOCAL_MACHINE, kInstances + "\\binary", "UpperFilters", REG_BINARY, {1, 2, 3});
    CreateKey(HKEY_LOCAL_MACHINE, kInstances + "\\without");
    // A value longer than the 520-byte buffer cannot be read and is left alone.
    const Bytes longFilter = StringBytes(std::string(600, 'L'));
    SetValue(HKEY_LOCAL_MACHINE, kInstances + "\\long", "UpperFilters", REG_SZ, longFilter);

    ASSERT_EQ(RunSetup(), 1u);

    ExpectValue(kInstances + "\\with", "UpperFilters", REG_SZ, StringBytes("VerUda98.sys"));
    ExpectValue(kInstances + "\\binary", "UpperFilters", REG_SZ, StringBytes("VerUda98.sys"));
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kInstances + "\\without", "UpperFilters").Present)
        << "an instance without a filter stays without one";
    ExpectValue(kInstances + "\\long", "UpperFilters", REG_SZ, longFilter);
}

TEST_F(SetupTools, InstallerSetsTheFilterOnANodeWhoseSecondHardwareIdIsThePad) {
    TestDeviceNode revOnly(kPadId + "\\1&revonly&0", MultiStringBytes({kPadId + "&REV_0100"}));
    TestDeviceNode pad(kPadId + "\\1&second&0", MultiStringBytes({kPadId + "&REV_0100", kPadId}));
    ASSERT_TRUE(revOnly.Registered() && pad.Registered());
    ASSERT_EQ(PresentNodesWithHardwareId(kPadId).size(), 1u) << "only the second node carries the plain id";

    ASSERT_EQ(RunSetup(), 1u);

    const RegValue filters = pad.UpperFilters();
    ASSERT_TRUE(filters.Present) << "the pad's node has upper filters";
    EXPECT_EQ(filters.Type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(Hex(filters.Data), Hex(kFilter)) << "the one-entry multi-string with both NULs";
    EXPECT_FALSE(revOnly.UpperFilters().Present) << "an id with a revision suffix is not the pad";
}

TEST_F(SetupTools, InstallerPassesOverNodesWithoutHardwareIds) {
    // Instance ids sort "HID\AAAA..." before the pad's, so this node comes first.
    TestDeviceNode noIds("HID\\AAAA_NOIDS\\1&none&0", Bytes{});
    TestDeviceNode pad(kPadId + "\\1&afternoids&0", MultiStringBytes({kPadId}));
    ASSERT_TRUE(noIds.Registered() && pad.Registered());
    ASSERT_EQ(RunSetup(), 1u);
    EXPECT_EQ(Hex(pad.UpperFilters().Data), Hex(kFilter)) << "a node without ids does not end the search";
    EXPECT_FALSE(noIds.UpperFilters().Present);
}

TEST_F(SetupTools, InstallerMatchesThePadsIdInAnyCase) {
    TestDeviceNode pad("HID\\VID_7A3C&PID_A02F\\1&case&0", MultiStringBytes({"hId\\vId_7a3C&PID_a02F"}));
    ASSERT_TRUE(pad.Registered());
    ASSERT_EQ(RunSetup(), 1u);
    EXPECT_EQ(Hex(pad.UpperFilters().Data), Hex(kFilter));
}

TEST_F(SetupTools, InstallerReplacesTheUpperFiltersTheNodeHad) {
    TestDeviceNode pad(kPadId + "\\1&replace&0", MultiStringBytes({kPadId}));
    ASSERT_TRUE(pad.Registered());
    pad.SetUpperFilters(MultiStringBytes({"first.sys", "second.sys"}));
    ASSERT_EQ(RunSetup(), 1u);
    EXPECT_EQ(Hex(pad.UpperFilters().Data), Hex(kFilter));
}

TEST_F(SetupTools, InstallerChangesOnlyTheFirstMatchingNodeInEnumerationOrder) {
    TestDeviceNode a(kPadId + "\\1&first&0", MultiStringBytes({kPadId}));
    TestDeviceNode b(kPadId + "\\1&later&0", MultiStringBytes({kPadId}));
    ASSERT_TRUE(a.Registered() && b.Registered());
    const std::vector<std::string> order = EnumerationOrder({a.InstanceId(), b.InstanceId()});
    ASSERT_EQ(order.size(), 2u) << "both nodes are present";
    const TestDeviceNode& first = order[0] == a.InstanceId() ? a : b;
    const TestDeviceNode& second = &first == &a ? b : a;

    ASSERT_EQ(RunSetup(), 1u);

    EXPECT_EQ(Hex(first.UpperFilters().Data), Hex(kFilter)) << first.InstanceId() << " is enumerated first";
    EXPECT_FALSE(second.UpperFilters().Present) << second.InstanceId() << " is left as it was";
}

TEST_F(SetupTools, InstallerFindsThePadInAHardwareIdListLongerThanItsBuffer) {
    // About 6 KB of other ids before the pad's: more than the 4048-byte buffer.
    std::string ids;
    for (int i = 0; i < 300; ++i) {
        ids += "HID\\VID_0000&PID_" + std::to_string(1000 + i);
        ids.push_back('\0');
    }
    ids += kPadId;
    ids.append(2, '\0');
    ASSERT_GT(ids.size(), 4048u);
    TestDeviceNode pad(kPadId + "\\1&long&0", Bytes(ids.begin(), ids.end()));
    ASSERT_TRUE(pad.Registered());

    ASSERT_EQ(RunSetup(), 1u);
    EXPECT_EQ(Hex(pad.UpperFilters().Data), Hex(kFilter)) << "the list is read again into a larger buffer";
}

TEST_F(SetupTools, RemoverDeletesThePadsDeviceKeysWhateverTheirStoredCase) {
    SetValue(HKEY_LOCAL_MACHINE, "Enum\\HID\\VID_7A3C&PID_A02F\\7&1&0&0000", "UpperFilters", REG_SZ,
             StringBytes("VerUda98.sys"));
    CreateKey(HKEY_LOCAL_MACHINE, "Enum\\HID\\VID_7A3C&PID_A02F\\7&2&0&0000\\Device Parameters");
    CreateKey(HKEY_LOCAL_MACHINE, "ENUM\\USB\\Vid_7a3c&Pid_A02F\\5&1&0&1");

    EXPECT_EQ(RunRemove(), 0u) << "padremove ends with exit code 0";

    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Enum\\HID\\VID_7A3C&PID_A02F"))
        << "the HID device key goes with its instance keys";
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Enum\\USB\\VID_7A3C&PID_A02F"))
        << "the USB device key goes with its instance keys";
}

TEST_F(SetupTools, RemoverLeavesTheOtherProductsAndTheOemEntryAlone) {
    ASSERT_EQ(RunSetup(), 1u);
    std::vector<std::string> others;
    char id[32];
    for (unsigned low = 0; low <= 0x36; ++low) {
        if ((low >= 0x17 && low <= 0x1f) || low == 0x2f) continue;
        std::snprintf(id, sizeof id, "VID_7A3C&PID_A0%02X", low);
        others.push_back(id);
        CreateKey(HKEY_LOCAL_MACHINE, std::string("Enum\\HID\\") + id + "\\inst");
        CreateKey(HKEY_LOCAL_MACHINE, std::string("Enum\\USB\\") + id + "\\inst");
    }
    ASSERT_EQ(others.size(), 45u);
    const std::string oemBefore = DumpTree(HKEY_LOCAL_MACHINE, kOemType);

    EXPECT_EQ(RunRemove(), 0u);

    for (const std::string& other : others) {
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Enum\\HID\\" + other + "\\inst")) << other << " stays";
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Enum\\USB\\" + other + "\\inst")) << other << " stays";
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kInstances));
    EXPECT_EQ(DumpTree(HKEY_LOCAL_MACHINE, kOemType), oemBefore) << "the OEM type entry is not touched";
}

TEST_F(SetupTools, RemoverChangesNothingWhereNothingWasInstalled) {
    const std::string before = Snapshot() + DumpTree(HKEY_LOCAL_MACHINE, "Software\\Classes\\CLSID");
    EXPECT_EQ(RunRemove(), 0u) << "padremove ends with exit code 0 with nothing to remove";
    EXPECT_EQ(Snapshot() + DumpTree(HKEY_LOCAL_MACHINE, "Software\\Classes\\CLSID"), before);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Enum")) << "no device branch is created";
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <staging folder>\n", argv[0]);
        return 2;
    }
    SetDistDir(argv[1]);
    return RUN_ALL_TESTS();
}
