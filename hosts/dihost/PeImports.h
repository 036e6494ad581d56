// Finds where a loaded module keeps the address of one imported function: its
// slot in the import address table. Plain reading of the PE layout over the
// module's mapped bytes, every read checked against the image's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace padhost {

struct ImportSlot {
    bool Found = false;
    uint32_t Rva = 0;   // of the slot, from the image base
    std::string Error;  // why not, when not found
};

// dll compares without case, function exactly; imports by ordinal are passed over.
ImportSlot FindImportSlot(const uint8_t* image, size_t imageSize, std::string_view dll, std::string_view function);

}  // namespace padhost
