// Puts the stand-in in place of the system's DirectInput for this process.
// Call before anything imports dinput.dll: the loader then binds every
// later import of "dinput.dll" to the module already loaded.
#pragma once

#include <string>

namespace dinput7 {

// Loads dinput.dll from `directory` (default: the program's own folder) and
// checks it is the stand-in. False, with a reason, when it is not.
bool LoadStandIn(std::string* error = nullptr, const std::string& directory = std::string());

}  // namespace dinput7
