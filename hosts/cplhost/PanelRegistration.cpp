#include "hosts/cplhost/PanelRegistration.h"

#include <windows.h>

#include "common/ProductIdentity.h"
#include "common/win/UniqueResource.h"

namespace cplhost {

namespace {

bool SetString(HKEY root, const std::string& path, const char* name, const std::string& value, std::string* error) {
    win::UniqueHKey key;
    if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
            ERROR_SUCCESS ||
        ::RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS) {
        if (error) *error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace

bool RegisterPanel(const std::string& dllPath, std::string* error) {
    const std::string clsid = pad::kPropertySheetClsid;
    const std::string server = "Software\\Classes\\CLSID\\" + clsid + "\\InprocServer32";
    return SetString(HKEY_LOCAL_MACHINE, "Software\\Classes\\CLSID\\" + clsid, nullptr, "Game pad property sheet",
                     error) &&
           SetString(HKEY_LOCAL_MACHINE, server, nullptr, dllPath, error) &&
           SetString(HKEY_LOCAL_MACHINE, server, "ThreadingModel", "Apartment", error) &&
           SetString(HKEY_LOCAL_MACHINE, kOemTypeKey, "ConfigCLSID", clsid, error);
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
        HANDLE find = ::FindFirstFileA((from + "\\*.*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ::CopyFileA((from + "\\" + found.cFileName).c_str(), (to + "\\" + found.cFileName).c_str(), FALSE);
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }
    return true;
}

std::string ConfiguredSheetClsid(const std::string& typeName) {
    const std::string path =
        "System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\" + typeName;
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        win::UniqueHKey key;
        if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) continue;
        char value[128] = {};
        DWORD size = sizeof value - 1;
        DWORD type = 0;
        if (::RegQueryValueExA(key.get(), "ConfigCLSID", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
                ERROR_SUCCESS &&
            type == REG_SZ)
            return value;
    }
    return std::string();
}

}  // namespace cplhost
