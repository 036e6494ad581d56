// Points one entry of a loaded module's import address table at another
// function, and back again: how the host answers a driver's system calls
// without changing a byte of the driver's file.
#pragma once

#include <windows.h>

#include <string>

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

}  // namespace padhost
