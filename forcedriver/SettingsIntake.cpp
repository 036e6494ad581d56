#include "SettingsIntake.h"

#include <mmsystem.h>

#include <cstring>
#include <memory>
#include <new>

#include "common/ProductIdentity.h"
#include "common/win/SettingsView.h"
#include "common/win/UniqueResource.h"

namespace padforce {

namespace {

static_assert(sizeof(JOYCAPSA) == 404, "the capabilities structure of the multimedia API");

// Larger values are not settings records; they are ignored rather than read.
constexpr DWORD kLargestValueRead = 64 * 1024;

void ReadRecord(HKEY key, pad::JoySettingRecord& record) {
    DWORD size = 0;
    if (::RegQueryValueExA(key, pad::kSettingsValueName, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return;
    if (size == 0 || size > kLargestValueRead) return;
    // A value longer than the record gives its first 112 bytes; asking for
    // those alone would leave the buffer undefined on the NT family.
    std::unique_ptr<BYTE[]> data(new (std::nothrow) BYTE[size]);
    if (!data) return;
    DWORD got = size;
    if (::RegQueryValueExA(key, pad::kSettingsValueName, nullptr, nullptr, data.get(), &got) != ERROR_SUCCESS)
        return;
    std::memcpy(&record, data.get(), got < sizeof record ? got : sizeof record);
}

}  // namespace

DeviceSettings LoadSettings(UINT joystickId) {
    DeviceSettings settings;
    JOYCAPSA caps{};
    if (::joyGetDevCapsA(joystickId, &caps, sizeof caps) != JOYERR_NOERROR) return settings;
    settings.ProductId = caps.wPid;

    char keyName[64];
    ::wsprintfA(keyName, pad::kDriverSettingsKeyFormat, static_cast<int>(pad::ModelNumberFromProductId(caps.wPid)));
    // Read access only: the driver never writes the record, and a game
    // without administrator rights may not open HKLM keys for writing.
    win::UniqueHKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, KEY_READ | pad::kSettingsView, key.put()) != ERROR_SUCCESS)
        return settings;
    ReadRecord(key.get(), settings.Record);
    return settings;
}

}  // namespace padforce
