// Reader of the panel's text file "<system>\Zororo\Setup.ini".
#pragma once

#include "panel/SetupEntry.h"

namespace padpanel {

// False, with a zero rectangle and an empty text, when the file, the
// section or the key is missing or the entry has fewer than four commas.
bool ReadSetupEntry(const char* section, const char* key, SetupEntry& out);

}  // namespace padpanel
