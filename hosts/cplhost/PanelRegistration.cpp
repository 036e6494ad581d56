#include "hosts/cplhost/PanelRegistration.h"

#include <windows.h>

#include "common/win/UniqueFind.h"
#include "common/win/UniqueResource.h"
#include "setup/KeyPaths.h"
#include "setup/RegistrationFile.h"
#include "setup/SetupIdentity.h"

namespace cplhost {

namespace {

constexpr char kClassesKey[] = "Software\\Classes\\CLSID\\";

bool SetString(HKEY root, const std::string& path, const char* name, const std::string& value, DWORD type,
               std::string* error) {
    win::UniqueHKey key;
    if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
            ERROR_SUCCESS ||
        ::RegSetValueExA(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS) {
        if (error) *error = "cannot write " + path;
        return false;
    }
    return true;
}

// The folder of all OEM joystick types: the setup tools' prefix up to its
// last backslash.
std::string OemTypesKey() {
    const std::string prefix = padsetup::kOemKeyPrefix;
    return prefix.substr(0, prefix.find_last_of('\\'));
}

}  // namespace

std::string OemTypeKey() {
    char path[padsetup::kNameBufferSize];
    return padsetup::FormatOemTypeKey(path, sizeof path, padsetup::kPadProductLowByte) ? path : std::string();
}

bool RegisterPanel(const std::string& dllPath, std::string* error) {
    const padsetup::ServerClass& sheet = padsetup::kPropertySheetClass;
    const std::string classKey = kClassesKey + std::string(sheet.Clsid);
    const std::string server = classKey + "\\InprocServer32";
    const std::string oemType = OemTypeKey();
    if (oemType.empty()) {
        if (error) *error = "the OEM type key does not fit its buffer";
        return false;
    }
    return SetString(HKEY_LOCAL_MACHINE, classKey, nullptr, sheet.Description, REG_SZ, error) &&
           SetString(HKEY_LOCAL_MACHINE, server, nullptr, dllPath, REG_EXPAND_SZ, error) &&
           SetString(HKEY_LOCAL_MACHINE, server, "ThreadingModel", sheet.ThreadingModel, REG_SZ, error) &&
           SetString(HKEY_LOCAL_MACHINE, oemType, padsetup::kValueConfigClsid, sheet.Clsid, REG_SZ, error);
}

bool InstallPanelData(const std::string& zororoFolder, std::string* error) {
    char system[MAX_PATH] = {};
    const UINT n = ::GetSystemDirectoryA(system, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        if (error) *error = "no system directory";
        return false;
    }
    const std::string target = std::string(system) + "\\Zororo";
    ::CreateDirectoryA(target.c_str(), nullptr);
    if (!::CopyFileA((zororoFolder + "\\Setup.ini").c_str(), (target + "\\Setup.ini").c_str(), FALSE)) {
        if (error) *error = "cannot copy " + zororoFolder + "\\Setup.ini";
        return false;
    }
    for (const char* sub : {"Image", "Wav"}) {
        const std::string from = zororoFolder + "\\" + sub;
        const std::string to = target + "\\" + sub;
        ::CreateDirectoryA(to.c_str(), nullptr);
        WIN32_FIND_DATAA found;
        win::UniqueFind search(::FindFirstFileA((from + "\\*.*").c_str(), &found));
        if (!search) continue;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ::CopyFileA((from + "\\" + found.cFileName).c_str(), (to + "\\" + found.cFileName).c_str(), FALSE);
        } while (::FindNextFileA(search.get(), &found));
    }
    return true;
}

std::string ConfiguredSheetClsid(const std::string& typeName) {
    const std::string path = OemTypesKey() + "\\" + typeName;
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        win::UniqueHKey key;
        if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) continue;
        char value[128] = {};
        DWORD size = sizeof value - 1;
        DWORD type = 0;
        if (::RegQueryValueExA(key.get(), padsetup::kValueConfigClsid, nullptr, &type, reinterpret_cast<BYTE*>(value),
                               &size) == ERROR_SUCCESS &&
            type == REG_SZ)
            return value;
    }
    return std::string();
}

}  // namespace cplhost
