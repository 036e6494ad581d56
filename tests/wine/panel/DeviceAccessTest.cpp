// The panel's DirectInput helpers against the DirectInput 7 stand-in.
#include <gtest/gtest.h>

#include <windows.h>
#include <dinput.h>

#include <cstring>
#include <string>
#include <vector>

#include "DebugLines.h"
#include "common/win/HidClass.h"
#include "common/win/UniqueResource.h"
#include "hosts/dinput7/StandInLoader.h"
#include "panel/DIUtil.h"
#include "panel/Module.h"
#include "tools/padstate/PadStateLink.h"

namespace {

using padstate::PadStateLink;
using Lines = std::vector<std::string>;

class DeviceAccess : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pad_.IsOpen());
        padstate::ResetBlock(pad_.Block());
        using Create = HRESULT(WINAPI*)(HINSTANCE, DWORD, IDirectInputA**, IUnknown*);
        auto create = reinterpret_cast<Create>(
            reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("dinput.dll"), "DirectInputCreateA")));
        ASSERT_NE(create, nullptr);
        ASSERT_EQ(create(::GetModuleHandleA(nullptr), 0x0700, &input_, nullptr), S_OK);
        ASSERT_EQ(input_->QueryInterface(IID_IDirectInputJoyConfig, reinterpret_cast<void**>(&config_)), S_OK);
    }
    void TearDown() override {
        if (config_) config_->Release();
        if (input_) input_->Release();
    }
    const padstate::StandInCounters& Counters() const { return pad_->Counters; }

    PadStateLink pad_;
    paneltest::DebugLines debug_;
    IDirectInputA* input_ = nullptr;
    IDirectInputJoyConfig* config_ = nullptr;
};

TEST_F(DeviceAccess, CreatesTheConfiguredPadsDeviceReadyToAcquire) {
    IDirectInputDevice2A* device = nullptr;
    ASSERT_EQ(padpanel::DIUtilCreateDeviceFromJoyConfig(0, nullptr, input_, config_, &device), S_OK);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->Acquire(), DI_OK) << "the joystick data format is set";
    EXPECT_EQ(Counters().DevicesCreated, 1u);
    device->Unacquire();
    EXPECT_EQ(device->Release(), 0u) << "the caller holds the only reference";
}

TEST_F(DeviceAccess, BadPointersAreRefusedBeforeAnythingIsAsked) {
    IDirectInputDevice2A* device = nullptr;
    EXPECT_EQ(padpanel::DIUtilCreateDeviceFromJoyConfig(0, nullptr, nullptr, config_, &device), E_POINTER);
    EXPECT_EQ(padpanel::DIUtilCreateDeviceFromJoyConfig(0, nullptr, input_, nullptr, &device), E_POINTER);
    EXPECT_EQ(padpanel::DIUtilCreateDeviceFromJoyConfig(0, nullptr, input_, config_, nullptr), E_POINTER);
    char name[16];
    EXPECT_EQ(padpanel::DIUtilGetJoystickTypeName(0, nullptr, name, sizeof name), E_POINTER);
    EXPECT_EQ(padpanel::DIUtilGetJoystickTypeName(0, config_, nullptr, 16), E_POINTER);
    EXPECT_EQ(padpanel::DIUtilGetJoystickTypeName(0, config_, name, 0), E_POINTER);
    DIJOYSTATE state;
    EXPECT_EQ(padpanel::DIUtilPollJoystick(nullptr, &state), E_POINTER);
    EXPECT_EQ(Counters().GetConfigCalls, 0u);
    EXPECT_EQ(Counters().DevicesCreated, 0u);
}

TEST_F(DeviceAccess, AFailedConfigurationQueryCreatesNoDevice) {
    pad_->Failures = padstate::kFailGetConfig;
    IDirectInputDevice2A* device = reinterpret_cast<IDirectInputDevice2A*>(1);
    EXPECT_EQ(padpanel::DIUtilCreateDeviceFromJoyConfig(0, nullptr, input_, config_, &device), E_FAIL);
    EXPECT_EQ(device, nullptr);
    pad_->Failures = padstate::kFailNoPad;
    EXPECT_EQ(padpanel::DIUtilCreateDeviceFromJoyConfig(0, nullptr, input_, config_, &device), DIERR_NOMOREITEMS);
    EXPECT_EQ(Counters().DevicesCreated, 0u);
}

TEST_F(DeviceAccess, ReadsThePadsTypeName) {
    char name[260];
    std::memset(name, 'z', sizeof name);
    EXPECT_EQ(padpanel::DIUtilGetJoystickTypeName(0, config_, name, sizeof name), DI_OK);
    EXPECT_STREQ(name, "VID_7A3C&PID_A02F");
}

TEST_F(DeviceAccess, AFailedTypeNameQueryLeavesTheErrorTextAndReturnsTheFailure) {
    pad_->Failures = padstate::kFailTypeName;
    char name[260];
    EXPECT_EQ(padpanel::DIUtilGetJoystickTypeName(0, config_, name, sizeof name), E_FAIL);
    EXPECT_STREQ(name, "<< Error >>");
}

TEST_F(DeviceAccess, TheTypeNameNeverOverrunsASmallBuffer) {
    char buffer[12];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(padpanel::DIUtilGetJoystickTypeName(0, config_, buffer, 8), DI_OK);
    EXPECT_EQ(std::strlen(buffer), 7u);
    EXPECT_EQ(std::memcmp(buffer + 8, "####", 4), 0) << "nothing past the given size is written";
    pad_->Failures = padstate::kFailTypeName;
    std::memset(buffer, '#', sizeof buffer);
    padpanel::DIUtilGetJoystickTypeName(0, config_, buffer, 5);
    EXPECT_STREQ(buffer, "<< E");
    EXPECT_EQ(std::memcmp(buffer + 5, "#######", 7), 0);
}

TEST_F(DeviceAccess, PollingGivesThePadsStateAndZeroOnceItIsGone) {
    IDirectInputDevice2A* device = nullptr;
    ASSERT_EQ(padpanel::DIUtilCreateDeviceFromJoyConfig(0, nullptr, input_, config_, &device), S_OK);
    ASSERT_EQ(device->Acquire(), DI_OK);
    pad_->Axes[0] = 65535;
    pad_->Axes[5] = 12;
    pad_->Buttons[2] = 1;
    pad_->Pov[0] = 9000;
    DIJOYSTATE state;
    ASSERT_EQ(padpanel::DIUtilPollJoystick(device, &state), DI_OK);
    EXPECT_EQ(state.lX, 65535);
    EXPECT_EQ(state.lY, 32767);
    EXPECT_EQ(state.lRz, 12);
    EXPECT_EQ(state.rgbButtons[2], 0x80);
    EXPECT_EQ(state.rgbButtons[0], 0);
    EXPECT_EQ(state.rgdwPOV[0], 9000u);
    EXPECT_EQ(state.rgdwPOV[1], 0xFFFFFFFFu);

    pad_->Plugged = 0;
    EXPECT_EQ(padpanel::DIUtilPollJoystick(device, &state), DIERR_INPUTLOST);
    DIJOYSTATE zero;
    std::memset(&zero, 0, sizeof zero);
    EXPECT_EQ(std::memcmp(&state, &zero, sizeof state), 0) << "a failed poll leaves the state all zero";
    EXPECT_EQ(Counters().Polls, 2u);
    device->Unacquire();
    device->Release();
}

TEST_F(DeviceAccess, EachHelperNamesTheBadArgumentOnTheDebuggerOutput) {
    IDirectInputDevice2A* device = nullptr;
    char name[16];
    DIJOYSTATE state;
    struct Case {
        const char* Line;
        HRESULT Result;
    };
    const Case cases[] = {
        {"DIUtilCreateDeviceFromJoyConfig() - invalid pdi\n",
         padpanel::DIUtilCreateDeviceFromJoyConfig(0, nullptr, nullptr, config_, &device)},
        {"DIUtilCreateDeviceFromJoyConfig() - invalid pdiJoyCfg\n",
         padpanel::DIUtilCreateDeviceFromJoyConfig(0, nullptr, input_, nullptr, &device)},
        {"DIUtilCreateDeviceFromJoyConfig() - invalid ppdiDevice2\n",
         padpanel::DIUtilCreateDeviceFromJoyConfig(0, nullptr, input_, config_, nullptr)},
        {"DIUtilGetJoystickTypeName() - invalid pdiJoyCfg\n",
         padpanel::DIUtilGetJoystickTypeName(0, nullptr, name, sizeof name)},
        {"DIUtilGetJoystickTypeName() - invalid tszTypeName\n",
         padpanel::DIUtilGetJoystickTypeName(0, config_, nullptr, 16)},
        {"DIUtilPollJoystick() - invalid pdiDevice2\n", padpanel::DIUtilPollJoystick(nullptr, &state)},
    };
    ASSERT_EQ(debug_.Lines().size(), std::size(cases)) << "one line for each refused call";
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].Result, E_POINTER) << cases[i].Line;
        EXPECT_EQ(debug_.Lines()[i], cases[i].Line);
    }
}

TEST_F(DeviceAccess, AnUnreadableStateBufferIsRefusedAndNamed) {
    IDirectInputDevice2A* device = nullptr;
    ASSERT_EQ(padpanel::DIUtilCreateDeviceFromJoyConfig(0, nullptr, input_, config_, &device), S_OK);
    debug_.Clear();
    // A page that is reserved but not committed: neither readable nor writable.
    void* reserved = ::VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS);
    ASSERT_NE(reserved, nullptr);
    EXPECT_EQ(padpanel::DIUtilPollJoystick(device, static_cast<DIJOYSTATE*>(reserved)), E_POINTER);
    EXPECT_EQ(debug_.Lines(), (Lines{"DIUtilPollJoystick() - invalid pdijs\n"}));
    EXPECT_EQ(Counters().Polls, 0u) << "the device is not asked";
    ::VirtualFree(reserved, 0, MEM_RELEASE);
    device->Release();
}

TEST_F(DeviceAccess, EachFailedStepOfMakingTheDeviceIsNamedAndLeavesNoDevice) {
    struct Case {
        uint32_t Failure;
        HRESULT Result;
        const char* Line;
    };
    const Case cases[] = {
        {padstate::kFailGetConfig, E_FAIL, "DIUtilCreateDeviceFromJoyConfig() - GetConfig() failed\n"},
        {padstate::kFailCreateDevice, DIERR_DEVICENOTREG, "DIUtilCreateDeviceFromJoyConfig() - CreateDevice() failed\n"},
        {padstate::kFailDevice2, E_NOINTERFACE,
         "DIUtilCreateDeviceFromJoyConfig() - QueryInterface(IDirectInputDevice2) failed\n"},
        {padstate::kFailDataFormat, DIERR_INVALIDPARAM,
         "DIUtilCreateDeviceFromJoyConfig() - SetDataFormat(Joystick) failed\n"},
        {padstate::kFailCooperativeLevel, E_HANDLE, "DIUtilCreateDeviceFromJoyConfig() - SetCooperativeLevel() failed\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Line);
        pad_->Failures = c.Failure;
        debug_.Clear();
        IDirectInputDevice2A* device = reinterpret_cast<IDirectInputDevice2A*>(1);
        EXPECT_EQ(padpanel::DIUtilCreateDeviceFromJoyConfig(0, nullptr, input_, config_, &device), c.Result)
            << "the failing call's result";
        EXPECT_EQ(device, nullptr);
        EXPECT_EQ(debug_.Lines(), (Lines{c.Line}));
        EXPECT_EQ(Counters().DevicesReleased, Counters().DevicesCreated) << "a device made on the way is let go";
    }
    EXPECT_EQ(Counters().DevicesCreated, 3u) << "the last three steps fail after the device exists";
}

TEST_F(DeviceAccess, AFailedTypeNameQueryWritesTheErrorTextAsItsLine) {
    pad_->Failures = padstate::kFailTypeName;
    char name[260];
    padpanel::DIUtilGetJoystickTypeName(0, config_, name, sizeof name);
    EXPECT_EQ(debug_.Lines(), (Lines{"<< Error >>\n"}));
}

TEST_F(DeviceAccess, AFailedReadIsNamedAndGoodCallsWriteNothing) {
    IDirectInputDevice2A* device = nullptr;
    char name[260];
    ASSERT_EQ(padpanel::DIUtilCreateDeviceFromJoyConfig(0, nullptr, input_, config_, &device), S_OK);
    ASSERT_EQ(padpanel::DIUtilGetJoystickTypeName(0, config_, name, sizeof name), S_OK);
    ASSERT_EQ(device->Acquire(), DI_OK);
    DIJOYSTATE state;
    ASSERT_EQ(padpanel::DIUtilPollJoystick(device, &state), DI_OK);
    EXPECT_TRUE(debug_.Lines().empty()) << "nothing failed";
    pad_->Failures = padstate::kFailInput;
    EXPECT_EQ(padpanel::DIUtilPollJoystick(device, &state), DIERR_INPUTLOST);
    EXPECT_EQ(debug_.Lines(), (Lines{"DIUtilPollJoystick() - GetDeviceState() failed\n"}));
    device->Unacquire();
    device->Release();
}

TEST_F(DeviceAccess, TheStandInGivesThePadsClassAndReportPath) {
    lstrcpynA(pad_->ReportPath, "\\\\.\\pipe\\pad-reports-test", padstate::kPathCapacity);
    IDirectInputDevice2A* device = nullptr;
    ASSERT_EQ(padpanel::DIUtilCreateDeviceFromJoyConfig(0, nullptr, input_, config_, &device), S_OK);
    DIPROPGUIDANDPATH property{};
    property.diph.dwSize = sizeof property;
    property.diph.dwHeaderSize = sizeof property.diph;
    property.diph.dwHow = DIPH_DEVICE;
    ASSERT_EQ(device->GetProperty(DIPROP_GUIDANDPATH, &property.diph), DI_OK);
    EXPECT_TRUE(IsEqualGUID(property.guidClass, win::kHidClassGuid)) << "a HID device";
    EXPECT_STREQ(property.wszPath, L"\\\\.\\pipe\\pad-reports-test");

    property.diph.dwSize = sizeof property - 2;
    EXPECT_EQ(device->GetProperty(DIPROP_GUIDANDPATH, &property.diph), DIERR_INVALIDPARAM) << "a short structure";
    DIPROPDWORD range{};
    range.diph.dwSize = sizeof range;
    range.diph.dwHeaderSize = sizeof range.diph;
    EXPECT_EQ(device->GetProperty(DIPROP_BUFFERSIZE, &range.diph), DIERR_UNSUPPORTED) << "another property";
    device->Release();
}

TEST(StandInLoader, PutsBackAUsersDinputOverrideOfAnyLength) {
    const char* key = "Software\\Wine\\DllOverrides";
    const std::string mine = "native,builtin;" + std::string(180, 'x');
    {
        win::UniqueHKey overrides;
        ASSERT_EQ(::RegCreateKeyA(HKEY_CURRENT_USER, key, overrides.put()), ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExA(overrides.get(), "dinput", 0, REG_SZ, reinterpret_cast<const BYTE*>(mine.c_str()),
                                   static_cast<DWORD>(mine.size() + 1)),
                  ERROR_SUCCESS);
    }
    std::string error;
    ASSERT_TRUE(dinput7::LoadStandIn(&error)) << error;
    char back[512] = {};
    DWORD size = sizeof back;
    ASSERT_EQ(::RegGetValueA(HKEY_CURRENT_USER, key, "dinput", RRF_RT_REG_SZ, nullptr, back, &size), ERROR_SUCCESS)
        << "the user's setting is still there";
    EXPECT_EQ(std::string(back), mine);
    win::UniqueHKey overrides;
    ASSERT_EQ(::RegOpenKeyA(HKEY_CURRENT_USER, key, overrides.put()), ERROR_SUCCESS);
    ::RegDeleteValueA(overrides.get(), "dinput");
}

}  // namespace

int main(int argc, char** argv) {
    // The stand-in must be the dinput.dll of this process before anything asks.
    std::string error;
    if (!dinput7::LoadStandIn(&error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    padpanel::Module().Instance = ::GetModuleHandleA(nullptr);  // the string resources are linked in
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
