// The installation's registry data as WiX include files, for the setup
// packages: the same tables as the regedit files, as registry rows of the
// components that carry them.
#pragma once

#include <string>

#include "setup/RegistrationFile.h"

namespace padsetup {

// Text as it may stand in an XML attribute value.
std::string XmlEscaped(const std::string& text);

// "ProductName" and "Manufacturer" as preprocessor variables.
std::string WixIdentityInclude();
// The COM class of one server: its description, InprocServer32 path and threading model.
std::string WixClassInclude(const ServerClass& serverClass);
// The effect list under the OEM type key.
std::string WixEffectListInclude();
// The keys padsetup writes (the OEM type entry, the device-instance key),
// each removed with everything under it when the package is removed.
std::string WixDeviceKeysInclude();

}  // namespace padsetup
