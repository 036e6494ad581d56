// padremove: deletes the pad's keys from the Windows 98 device registry, the
// "ENUM\HID" and "ENUM\USB" branches. No window, no output; the exit code is
// always 0.
#include <windows.h>

#include <initializer_list>

#include "common/win/RegistryTree.h"
#include "setup/KeyPaths.h"
#include "setup/ProductTable.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace padsetup;
    char path[kRemoverPathSize];
    for (size_t entry = kRemovalFirst; entry < kRemovalEnd; ++entry) {
        for (DeviceBranch branch : {DeviceBranch::Hid, DeviceBranch::Usb}) {
            if (FormatDeviceEnumKey(path, sizeof path, branch, kProductDeviceIds[entry])) {
                // The instance keys go first: the NT family keeps a key that has subkeys.
                win::DeleteRegistryTree(HKEY_LOCAL_MACHINE, path);
            }
        }
    }
    return 0;
}
