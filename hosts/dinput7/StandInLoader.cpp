#include "hosts/dinput7/StandInLoader.h"

#include <windows.h>

#include "common/win/UniqueResource.h"

namespace dinput7 {

namespace {

constexpr char kOverrides[] = "Software\\Wine\\DllOverrides";

std::string ProgramDirectory() {
    char path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    const size_t slash = s.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : s.substr(0, slash);
}

// Wine prefers its own dinput.dll even when given a path; an override of
// this prefix's user key makes it take the file. The previous setting is put
// back once the module is loaded.
class NativeDinputOverride {
public:
    NativeDinputOverride() {
        if (::RegCreateKeyA(HKEY_CURRENT_USER, kOverrides, key_.put()) != ERROR_SUCCESS) return;
        DWORD size = sizeof previous_ - 1;
        had_ = ::RegQueryValueExA(key_.get(), "dinput", nullptr, nullptr, reinterpret_cast<BYTE*>(previous_),
                                  &size) == ERROR_SUCCESS;
        ::RegSetValueExA(key_.get(), "dinput", 0, REG_SZ, reinterpret_cast<const BYTE*>("native"), 7);
    }
    ~NativeDinputOverride() {
        if (!key_) return;
        if (had_)
            ::RegSetValueExA(key_.get(), "dinput", 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_),
                             static_cast<DWORD>(lstrlenA(previous_) + 1));
        else
            ::RegDeleteValueA(key_.get(), "dinput");
    }

private:
    win::UniqueHKey key_;
    char previous_[64] = {};
    bool had_ = false;
};

}  // namespace

bool LoadStandIn(std::string* error, const std::string& directory) {
    const std::string path = (directory.empty() ? ProgramDirectory() : directory) + "\\dinput.dll";
    HMODULE module = nullptr;
    {
        NativeDinputOverride override;
        module = ::LoadLibraryA(path.c_str());  // kept for the life of the process
    }
    if (!module) {
        if (error) *error = "cannot load " + path;
        return false;
    }
    if (!::GetProcAddress(module, "PadDirectInputStandIn")) {
        if (error) *error = "the system's DirectInput was loaded instead of " + path;
        return false;
    }
    return true;
}

}  // namespace dinput7
