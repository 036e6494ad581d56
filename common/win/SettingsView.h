// The registry view that holds the settings record.
#pragma once

#include <windows.h>

#include "common/win/UniqueResource.h"

namespace pad {

// Both bitnesses keep the record where it has always lived, in the 32-bit view
// of HKLM\Software, so that a 64-bit panel's settings reach 32-bit games and
// every other reader of the record. A 32-bit process already sees that view,
// and not every 32-bit Windows understands the flag.
#ifdef _WIN64
inline constexpr REGSAM kSettingsView = KEY_WOW64_32KEY;
#else
inline constexpr REGSAM kSettingsView = 0;
#endif

// HKLM\Software as that view shows it: keys of the record can be deleted
// through it in either bitness. Empty when it cannot be opened.
inline win::UniqueHKey OpenSoftwareKeyOfSettings() {
    win::UniqueHKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ | kSettingsView, key.put()) != ERROR_SUCCESS)
        key.release();
    return key;
}

}  // namespace pad
