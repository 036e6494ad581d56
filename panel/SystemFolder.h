// Where the panel's installed data and the user's profiles live: folders
// under the Windows system directory.
#pragma once

#include <string>

namespace padpanel {

// "<system directory>\<below>"; just "\<below>" when the directory cannot be read.
std::string SystemFolder(const char* below);

}  // namespace padpanel
