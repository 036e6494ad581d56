#include "hosts/dihost/PeImports.h"

#include <cstring>

namespace padhost {

namespace {

// Reads of the mapped image; every offset is checked before use.
class Image {
public:
    Image(const uint8_t* base, size_t size) : base_(base), size_(size) {}

    bool Has(uint64_t offset, uint64_t length) const { return offset <= size_ && length <= size_ - offset; }

    bool U16(uint64_t offset, uint32_t& out) const {
        if (!Has(offset, 2)) return false;
        out = base_[offset] | base_[offset + 1] << 8;
        return true;
    }
    bool U32(uint64_t offset, uint32_t& out) const {
        if (!Has(offset, 4)) return false;
        out = static_cast<uint32_t>(base_[offset]) | static_cast<uint32_t>(base_[offset + 1]) << 8 |
              static_cast<uint32_t>(base_[offset + 2]) << 16 | static_cast<uint32_t>(base_[offset + 3]) << 24;
        return true;
    }
    bool U64(uint64_t offset, uint64_t& out) const {
        uint32_t lo = 0, hi = 0;
        if (!U32(offset, lo) || !U32(offset + 4, hi)) return false;
        out = static_cast<uint64_t>(hi) << 32 | lo;
        return true;
    }
    // A zero-terminated name that ends inside the image.
    bool Name(uint64_t offset, std::string_view& out) const {
        if (!Has(offset, 1)) return false;
        const void* end = std::memchr(base_ + offset, 0, size_ - offset);
        if (!end) return false;
        out = std::string_view(reinterpret_cast<const char*>(base_ + offset),
                               static_cast<const uint8_t*>(end) - (base_ + offset));
        return true;
    }

private:
    const uint8_t* base_;
    size_t size_;
};

bool SameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

ImportSlot Fail(std::string why) {
    ImportSlot r;
    r.Error = std::move(why);
    return r;
}

constexpr uint32_t kDescriptorSize = 20;
constexpr uint32_t kMaxDescriptors = 4096;
constexpr uint32_t kMaxThunks = 65536;

}  // namespace

ImportSlot FindImportSlot(const uint8_t* base, size_t size, std::string_view dll, std::string_view function) {
    const Image image(base, size);
    uint32_t magic = 0, peOffset = 0, signature = 0;
    if (!image.U16(0, magic) || magic != 0x5A4D) return Fail("not a PE image: no MZ header");
    if (!image.U32(0x3C, peOffset) || !image.U32(peOffset, signature) || signature != 0x00004550)
        return Fail("not a PE image: no PE signature");

    const uint64_t optional = static_cast<uint64_t>(peOffset) + 24;
    uint32_t optionalMagic = 0;
    if (!image.U16(optional, optionalMagic)) return Fail("the optional header is cut short");
    uint64_t countAt = 0, directoriesAt = 0;
    uint32_t thunkSize = 0;
    if (optionalMagic == 0x10B) {
        countAt = optional + 92, directoriesAt = optional + 96, thunkSize = 4;
    } else if (optionalMagic == 0x20B) {
        countAt = optional + 108, directoriesAt = optional + 112, thunkSize = 8;
    } else {
        return Fail("unknown optional header kind");
    }
    uint32_t directories = 0, importRva = 0;
    if (!image.U32(countAt, directories)) return Fail("the optional header is cut short");
    if (directories < 2 || !image.U32(directoriesAt + 8, importRva) || importRva == 0)
        return Fail("the module has no import directory");

    bool dllSeen = false;
    for (uint32_t d = 0; d < kMaxDescriptors; ++d) {
        const uint64_t at = static_cast<uint64_t>(importRva) + static_cast<uint64_t>(d) * kDescriptorSize;
        uint32_t nameTable = 0, nameRva = 0, addressTable = 0;
        if (!image.U32(at, nameTable) || !image.U32(at + 12, nameRva) || !image.U32(at + 16, addressTable))
            return Fail("the import directory runs past the image");
        if (nameRva == 0 && addressTable == 0) break;  // the terminating entry
        std::string_view name;
        if (!image.Name(nameRva, name)) return Fail("an imported module's name lies outside the image");
        if (!SameNoCase(name, dll)) continue;
        dllSeen = true;
        // The address table already holds addresses; only the name table still names the functions.
        if (nameTable == 0) return Fail("the imports from " + std::string(name) + " have no name table");
        for (uint32_t t = 0; t < kMaxThunks; ++t) {
            const uint64_t entryAt = static_cast<uint64_t>(nameTable) + static_cast<uint64_t>(t) * thunkSize;
            uint64_t entry = 0;
            uint32_t entry32 = 0;
            const bool read = thunkSize == 4 ? image.U32(entryAt, entry32) : image.U64(entryAt, entry);
            if (thunkSize == 4) entry = entry32;
            if (!read) return Fail("a name table runs past the image");
            if (entry == 0) break;
            const uint64_t ordinalFlag = thunkSize == 4 ? 0x80000000ull : 0x8000000000000000ull;
            if (entry & ordinalFlag) continue;
            std::string_view imported;
            if (!image.Name((entry & 0x7FFFFFFFull) + 2, imported))
                return Fail("an imported function's name lies outside the image");
            if (imported != function) continue;
            const uint64_t slot = static_cast<uint64_t>(addressTable) + static_cast<uint64_t>(t) * thunkSize;
            if (!image.Has(slot, thunkSize)) return Fail("the address table runs past the image");
            ImportSlot found;
            found.Found = true;
            found.Rva = static_cast<uint32_t>(slot);
            return found;
        }
    }
    if (!dllSeen) return Fail("the module does not import from " + std::string(dll));
    return Fail("the module imports from " + std::string(dll) + " but not " + std::string(function));
}

}  // namespace padhost
