// padremove: deletes the pad's keys from the Windows 98 device registry, the
// "ENUM\HID" and "ENUM\USB" branches. No window, no output; the exit code is
// always 0.
#include <windows.h>

#include <initializer_list>

#include "common/win/UniqueResource.h"
#include "setup/KeyPaths.h"
#include "setup/ProductTable.h"
#include "setup/SetupIdentity.h"

namespace {

using namespace padsetup;

// Instance keys lie two levels below a device key; anything far deeper is not ours to chase.
constexpr int kDeepestSubkey = 16;

// The NT family refuses to delete a key that still has subkeys, so the device's
// instance keys go first. Subkeys that cannot be deleted are stepped over, so
// the walk always ends; the key itself then stays.
LONG DeleteKeyTree(HKEY parent, const char* path, int depth) {
    if (depth < kDeepestSubkey) {
        win::UniqueHKey key;
        if (::RegOpenKeyExA(parent, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
            key.release();
        } else {
            char name[kNameBufferSize];
            DWORD index = 0;
            while (::RegEnumKeyA(key.get(), index, name, sizeof name) == ERROR_SUCCESS) {
                if (DeleteKeyTree(key.get(), name, depth + 1) != ERROR_SUCCESS) ++index;
            }
        }
    }
    return ::RegDeleteKeyA(parent, path);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[kRemoverPathSize];
    for (size_t entry = kRemovalFirst; entry < kRemovalEnd; ++entry) {
        for (DeviceBranch branch : {DeviceBranch::Hid, DeviceBranch::Usb}) {
            if (FormatDeviceEnumKey(path, sizeof path, branch, kProductDeviceIds[entry])) {
                DeleteKeyTree(HKEY_LOCAL_MACHINE, path, 0);
            }
        }
    }
    return 0;
}
