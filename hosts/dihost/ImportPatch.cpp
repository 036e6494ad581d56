#include "hosts/dihost/ImportPatch.h"

#include <psapi.h>

#include "hosts/dihost/PeImports.h"

namespace padhost {

namespace {

bool WriteSlot(void** slot, void* value) {
    DWORD old = 0;
    if (!::VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) return false;
    *slot = value;
    DWORD ignored = 0;
    ::VirtualProtect(slot, sizeof *slot, old, &ignored);
    ::FlushInstructionCache(::GetCurrentProcess(), slot, sizeof *slot);
    return true;
}

}  // namespace

bool ImportPatch::Apply(HMODULE module, const char* dll, const char* function, void* replacement,
                        std::string* error) {
    Restore();
    MODULEINFO info{};
    if (!module || !::GetModuleInformation(::GetCurrentProcess(), module, &info, sizeof info)) {
        if (error) *error = "the module is not loaded";
        return false;
    }
    const ImportSlot found = FindImportSlot(static_cast<const uint8_t*>(info.lpBaseOfDll), info.SizeOfImage, dll, function);
    if (!found.Found) {
        if (error) *error = "cannot patch " + std::string(dll) + "!" + function + ": " + found.Error;
        return false;
    }
    void** slot = reinterpret_cast<void**>(static_cast<uint8_t*>(info.lpBaseOfDll) + found.Rva);
    void* original = *slot;
    if (!WriteSlot(slot, replacement)) {
        if (error) *error = "cannot write the import slot of " + std::string(function);
        return false;
    }
    slot_ = slot;
    original_ = original;
    return true;
}

void ImportPatch::Restore() {
    if (!slot_) return;
    WriteSlot(slot_, original_);
    slot_ = nullptr;
    original_ = nullptr;
}

void* ImportPatch::Current() const { return slot_ ? *slot_ : nullptr; }

}  // namespace padhost
