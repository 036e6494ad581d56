// The installation's registry data as regedit files: the COM classes of both
// servers and the effect list, and the file that takes them away again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/ProductIdentity.h"

namespace padsetup {

// Where the DLLs are installed, as COM expands it when it loads them.
inline constexpr char kInstalledDllFolder[] = "%SystemRoot%\\System32";

struct ServerClass {
    const char* Clsid;
    const char* Description;
    const char* DllName;
    const char* ThreadingModel;
};

// padforce is called on whichever thread a game uses and guards its own state;
// padpanel lives on the control panel's window thread.
inline constexpr ServerClass kForceDriverClass = {pad::kForceDriverClsid,
                                                  "Zuraza Zirude force feedback driver", "padforce.dll",
                                                  "Both"};
inline constexpr ServerClass kPropertySheetClass = {pad::kPropertySheetClsid,
                                                    "Zuraza Zirude game controller settings",
                                                    "padpanel.dll", "Apartment"};

// A value's data as regedit writes it.
std::string RegQuoted(const std::string& text);                  // "text" with \ and " escaped
std::string RegHex(const uint8_t* bytes, size_t size);           // hex:0a,00
std::string RegExpandString(const std::string& text);            // hex(2):..,00 with its NUL

// The whole files, REGEDIT4 with CRLF line ends.
std::string RegistrationText();
std::string UnregistrationText();

}  // namespace padsetup
