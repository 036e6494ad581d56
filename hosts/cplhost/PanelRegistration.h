// The registry entries by which the control panel finds the pad's sheet: the
// COM class of padpanel.dll and "ConfigCLSID" under the pad's OEM type key.
// The installation package writes them too; this helper stands in for it
// where a test or a host works with a DLL straight from the build. Class,
// description, threading model and key names are the package's own.
#pragma once

#include <string>

namespace cplhost {

// The pad's OEM type key, as the setup tools spell it.
std::string OemTypeKey();

// Registers the class as the package does, with InprocServer32 = dllPath (a
// Windows path, REG_EXPAND_SZ) instead of the installed one, and points the
// OEM type at it.
bool RegisterPanel(const std::string& dllPath, std::string* error = nullptr);

// Copies a staged "Zororo" folder (Setup.ini, Image\*.bmp, Wav\*.wav) into
// the system directory, where the panel reads it.
bool InstallPanelData(const std::string& zororoFolder, std::string* error = nullptr);

// The class id the OEM type of this type name names, as text; empty when absent.
std::string ConfiguredSheetClsid(const std::string& typeName);

}  // namespace cplhost
