// Deleting a registry key together with the keys below it.
#pragma once

#include <windows.h>

#include "common/win/UniqueResource.h"

namespace win {

// Subkeys are followed this many levels down and no further: device and
// settings trees are a few levels deep, and a crafted deep tree must not
// exhaust the stack.
inline constexpr int kDeepestRegistrySubkey = 16;

// RegDeleteKeyA of `path` under `parent`, after its subkeys. The NT family
// refuses to delete a key that still has subkeys, so they go first; one that
// cannot be deleted is stepped over, so the walk always ends, and its parents
// then stay. The key is only read while walking: the access a handle was
// opened with does not govern deleting a subkey through it. Returns the
// status of deleting `path` itself.
inline LONG DeleteRegistryTree(HKEY parent, const char* path, int depth = 0) {
    if (depth < kDeepestRegistrySubkey) {
        UniqueHKey key;
        if (::RegOpenKeyExA(parent, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
            key.release();
        } else {
            // 255 characters, each up to two bytes in a double-byte code page.
            char name[520];
            DWORD index = 0;
            while (::RegEnumKeyA(key.get(), index, name, sizeof name) == ERROR_SUCCESS) {
                if (DeleteRegistryTree(key.get(), name, depth + 1) != ERROR_SUCCESS) ++index;
            }
        }
    }
    return ::RegDeleteKeyA(parent, path);
}

}  // namespace win
