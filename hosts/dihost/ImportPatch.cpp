#include "hosts/dihost/ImportPatch.h"

#include <psapi.h>

#include <map>
#include <mutex>

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

// Two hosts in one process patch the same slot of the same module: the slot
// gets its original back only when the last of them lets go.
struct Holder {
    void* Original;
    void* Replacement;
    int Count;
};
std::mutex g_lock;
std::map<void**, Holder>& Holders() {
    static std::map<void**, Holder> holders;
    return holders;
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
    std::lock_guard<std::mutex> lock(g_lock);
    auto held = Holders().find(slot);
    if (held != Holders().end() && held->second.Replacement != replacement) {
        if (error) *error = "the import slot of " + std::string(function) + " is patched to another function already";
        return false;
    }
    void* original = held != Holders().end() ? held->second.Original : *slot;
    if (held == Holders().end() && !WriteSlot(slot, replacement)) {
        if (error) *error = "cannot write the import slot of " + std::string(function);
        return false;
    }
    if (held == Holders().end()) Holders()[slot] = Holder{original, replacement, 1};
    else ++held->second.Count;
    slot_ = slot;
    original_ = original;
    return true;
}

void ImportPatch::Restore() {
    if (!slot_) return;
    std::lock_guard<std::mutex> lock(g_lock);
    auto held = Holders().find(slot_);
    if (held != Holders().end() && --held->second.Count == 0) {
        WriteSlot(slot_, held->second.Original);
        Holders().erase(held);
    }
    slot_ = nullptr;
    original_ = nullptr;
}

void* ImportPatch::Current() const { return slot_ ? *slot_ : nullptr; }

std::vector<std::unique_ptr<ImportPatch>> ApplyImportHooks(HMODULE module, const ImportHook* hooks, size_t count,
                                                           std::string* error) {
    std::vector<std::unique_ptr<ImportPatch>> patches;
    MODULEINFO info{};
    if (!module || !::GetModuleInformation(::GetCurrentProcess(), module, &info, sizeof info)) {
        if (error) *error = "the module is not loaded";
        return patches;
    }
    for (size_t i = 0; i < count; ++i) {
        if (!FindImportSlot(static_cast<const uint8_t*>(info.lpBaseOfDll), info.SizeOfImage, hooks[i].Dll,
                            hooks[i].Function)
                 .Found)
            continue;
        auto patch = std::make_unique<ImportPatch>();
        std::string why;
        if (!patch->Apply(module, hooks[i].Dll, hooks[i].Function, hooks[i].Replacement, &why)) {
            if (error && error->empty()) *error = why;
            continue;
        }
        *hooks[i].Original = patch->Original();
        patches.push_back(std::move(patch));
    }
    return patches;
}

}  // namespace padhost
