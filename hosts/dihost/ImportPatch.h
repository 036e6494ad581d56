// Points one entry of a loaded module's import address table at another
// function, and back again: how the host answers a driver's system calls
// without changing a byte of the driver's file.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace padhost {

class ImportPatch {
public:
    ImportPatch() = default;
    ~ImportPatch() { Restore(); }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    // False, with the reason in *error, when the module does not import the
    // function by name or the slot cannot be written.
    bool Apply(HMODULE module, const char* dll, const char* function, void* replacement, std::string* error);
    // Puts the original address back; the module must still be loaded.
    void Restore();

    bool Applied() const { return slot_ != nullptr; }
    void* Original() const { return original_; }
    // What the slot holds now: the address the module calls.
    void* Current() const;

private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

// One entry of a table of patches: the original is stored where it points.
struct ImportHook {
    const char* Dll;
    const char* Function;
    void* Replacement;
    void** Original;
};
// Applies every hook of the table that the module imports; a call the module
// never makes needs no hook and is passed over. A hook that cannot be applied
// although the module imports it puts its reason in *error (the first one).
// The patches hold while kept.
std::vector<std::unique_ptr<ImportPatch>> ApplyImportHooks(HMODULE module, const ImportHook* hooks, size_t count,
                                                           std::string* error);

}  // namespace padhost
