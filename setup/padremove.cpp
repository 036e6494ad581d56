// padremove: deletes the pad's device enumeration keys. Reads no arguments,
// shows nothing, always ends with 0.
#include <windows.h>

#include <string>

#include "common/win/UniqueResource.h"
#include "setup/KeyPaths.h"
#include "setup/ProductTable.h"

using namespace padsetup;

namespace {

// Instance keys sit two levels below a device key; anything deeper than this
// is not the device registry's and is left where it is.
constexpr int kDeepestSubkey = 16;

// Windows 98 deletes a key with all its subkeys; the NT family refuses a key
// that still has any, so the subkeys go first, deepest first.
LONG DeleteKeyTree(HKEY parent, const char* path, int depth) {
    HKEY raw = nullptr;
    if (depth < kDeepestSubkey &&
        ::RegOpenKeyExA(parent, path, 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | DELETE, &raw) == ERROR_SUCCESS) {
        win::UniqueHKey key(raw);
        char name[MAX_PATH];
        DWORD index = 0;  // a subkey that will not go is stepped over, never retried forever
        while (::RegEnumKeyA(key.get(), index, name, sizeof name) == ERROR_SUCCESS) {
            if (DeleteKeyTree(key.get(), name, depth + 1) != ERROR_SUCCESS) ++index;
        }
    }
    return ::RegDeleteKeyA(parent, path);
}

void DeleteDeviceKey(const std::string& path) {
    if (!path.empty()) DeleteKeyTree(HKEY_LOCAL_MACHINE, path.c_str(), 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    for (std::size_t i = kRemovedFirst; i < kRemovedEnd; ++i) {
        DeleteDeviceKey(HidEnumKeyPath(ProductDeviceId(i)));
        DeleteDeviceKey(UsbEnumKeyPath(ProductDeviceId(i)));
    }
    return 0;
}
