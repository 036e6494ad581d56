#include "setup/WixRegistration.h"

#include <cstdio>

#include "common/ProductIdentity.h"
#include "setup/EffectCatalog.h"
#include "setup/KeyPaths.h"
#include "setup/SetupIdentity.h"

namespace padsetup {

namespace {

constexpr char kClassesKey[] = "Software\\Classes\\CLSID\\";

std::string Include(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- Written by makeregistration; do not edit. -->\n<Include>\n" +
           body + "</Include>\n";
}

// One row under HKEY_LOCAL_MACHINE; no name writes the key's default value.
// An expandable value starts "#%" and a binary one "#x", as the Registry
// table stores them: wixl 0.101 passes the value through as it stands.
std::string Row(const std::string& key, const char* name, const char* type, const std::string& value) {
    std::string row = "  <RegistryValue Root=\"HKLM\" Key=\"" + XmlEscaped(key) + "\"";
    if (name) row += " Name=\"" + XmlEscaped(name) + "\"";
    return row + " Type=\"" + type + "\" Value=\"" + XmlEscaped(value) + "\"/>\n";
}

std::string HexDigits(const uint8_t* bytes, size_t size) {
    std::string hex;
    char pair[3];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
        hex += pair;
    }
    return hex;
}

std::string OemTypeKey() {
    char path[kNameBufferSize];
    FormatOemTypeKey(path, sizeof path, kPadProductLowByte);
    return path;
}

}  // namespace

std::string XmlEscaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            default: escaped += c;
        }
    }
    return escaped;
}

std::string WixIdentityInclude() {
    return Include(std::string("  <?define ProductName = \"") + pad::kProductName + "\" ?>\n" +
                   "  <?define Manufacturer = \"" + pad::kMakerName + "\" ?>\n");
}

std::string WixClassInclude(const ServerClass& c) {
    const std::string key = std::string(kClassesKey) + c.Clsid;
    return Include(Row(key, nullptr, "string", c.Description) +
                   Row(key + "\\InprocServer32", nullptr, "expandable",
                       std::string("#%") + kInstalledDllFolder + "\\" + c.DllName) +
                   Row(key + "\\InprocServer32", "ThreadingModel", "string", c.ThreadingModel));
}

std::string WixEffectListInclude() {
    const std::string effects = OemTypeKey() + "\\OEMForceFeedback\\Effects\\";
    std::string rows;
    for (const EffectEntry& e : kEffectCatalog) {
        const auto attributes = e.AttributesBytes();
        rows += Row(effects + e.Guid, nullptr, "string", e.Name) +
                Row(effects + e.Guid, kValueAttributes, "binary", "#x" + HexDigits(attributes.data(), attributes.size()));
    }
    return Include(rows);
}

std::string WixDeviceKeysInclude() {
    // A row named "-" without a value removes its key and everything under it at removal.
    return Include(Row(OemTypeKey(), "-", "string", "") + Row(kInstanceKey, "-", "string", ""));
}

}  // namespace padsetup
