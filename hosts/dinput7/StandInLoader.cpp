#include "hosts/dinput7/StandInLoader.h"

#include <windows.h>

#include <vector>

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
// this prefix's user key makes it take the file. The previous setting, of
// whatever length and type, is put back once the module is loaded.
class NativeDinputOverride {
public:
    NativeDinputOverride() {
        if (::RegCreateKeyA(HKEY_CURRENT_USER, kOverrides, key_.put()) != ERROR_SUCCESS) return;
        had_ = ReadPrevious();
        ::RegSetValueExA(key_.get(), kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>("native"), 7);
    }
    ~NativeDinputOverride() {
        if (!key_) return;
        if (had_)
            ::RegSetValueExA(key_.get(), kValue, 0, type_, previous_.data(), static_cast<DWORD>(previous_.size()));
        else
            ::RegDeleteValueA(key_.get(), kValue);
    }

private:
    static constexpr char kValue[] = "dinput";

    // The value grows between the size query and the read only if another
    // process writes it meanwhile; then the read is tried again.
    bool ReadPrevious() {
        for (int attempt = 0; attempt < 4; ++attempt) {
            DWORD size = 0;
            if (::RegQueryValueExA(key_.get(), kValue, nullptr, &type_, nullptr, &size) != ERROR_SUCCESS) return false;
            previous_.assign(size, 0);
            const LONG rc = ::RegQueryValueExA(key_.get(), kValue, nullptr, &type_, previous_.data(), &size);
            if (rc == ERROR_SUCCESS) {
                previous_.resize(size);
                return true;
            }
            if (rc != ERROR_MORE_DATA) return false;
        }
        return false;
    }

    win::UniqueHKey key_;
    std::vector<BYTE> previous_;
    DWORD type_ = REG_SZ;
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
