#include "setup/RegistrationFile.h"

#include <cstdio>

#include "setup/EffectCatalog.h"
#include "setup/KeyPaths.h"
#include "setup/SetupIdentity.h"

namespace padsetup {

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr char kMachine[] = "HKEY_LOCAL_MACHINE\\";
constexpr char kClassesRoot[] = "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\";

std::string Key(const std::string& path) { return "[" + path + "]" + kLineEnd; }
std::string RemovedKey(const std::string& path) { return "[-" + path + "]" + kLineEnd; }
std::string DefaultValue(const std::string& data) { return "@=" + data + kLineEnd; }
std::string NamedValue(const std::string& name, const std::string& data) {
    return RegQuoted(name) + "=" + data + kLineEnd;
}

std::string OemTypeKeyPath() {
    char path[kNameBufferSize];
    FormatOemTypeKey(path, sizeof path, kPadProductLowByte);
    return std::string(kMachine) + path;
}

std::string ClassEntry(const ServerClass& c) {
    const std::string key = std::string(kClassesRoot) + c.Clsid;
    return Key(key) + DefaultValue(RegQuoted(c.Description)) + kLineEnd +
           Key(key + "\\InprocServer32") +
           DefaultValue(RegExpandString(std::string(kInstalledDllFolder) + "\\" + c.DllName)) +
           NamedValue("ThreadingModel", RegQuoted(c.ThreadingModel)) + kLineEnd;
}

std::string EffectEntries() {
    const std::string effects = OemTypeKeyPath() + "\\OEMForceFeedback\\Effects\\";
    std::string text;
    for (const EffectEntry& e : kEffectCatalog) {
        const auto attributes = e.AttributesBytes();
        text += Key(effects + e.Guid) + DefaultValue(RegQuoted(e.Name)) +
                NamedValue(kValueAttributes, RegHex(attributes.data(), attributes.size())) + kLineEnd;
    }
    return text;
}

}  // namespace

std::string RegQuoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string RegHex(const uint8_t* bytes, size_t size) {
    std::string hex = "hex:";
    char pair[4];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(pair, sizeof pair, i == 0 ? "%02x" : ",%02x", bytes[i]);
        hex += pair;
    }
    return hex;
}

std::string RegExpandString(const std::string& text) {
    std::string withNul = text;
    withNul.push_back('\0');
    return "hex(2):" + RegHex(reinterpret_cast<const uint8_t*>(withNul.data()), withNul.size()).substr(4);
}

std::string RegistrationText() {
    return std::string("REGEDIT4") + kLineEnd + kLineEnd + ClassEntry(kForceDriverClass) +
           ClassEntry(kPropertySheetClass) + EffectEntries();
}

std::string UnregistrationText() {
    // The instance keys are the remover's to delete; the effect list goes with the OEM type key.
    return std::string("REGEDIT4") + kLineEnd + kLineEnd +
           RemovedKey(std::string(kClassesRoot) + kForceDriverClass.Clsid) + kLineEnd +
           RemovedKey(std::string(kClassesRoot) + kPropertySheetClass.Clsid) + kLineEnd +
           RemovedKey(OemTypeKeyPath()) + kLineEnd;
}

}  // namespace padsetup
