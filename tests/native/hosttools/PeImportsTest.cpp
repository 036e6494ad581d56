// Finding an import slot in a module image, and refusing images that lie.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "hosts/dihost/PeImports.h"

using padhost::FindImportSlot;
using padhost::ImportSlot;

namespace {

// A small mapped image: headers, an import directory for kernel32 and winmm,
// their name tables, address tables and names.
class ImageBuilder {
public:
    explicit ImageBuilder(bool wide = false) : wide_(wide), image_(0x1500, 0) {
        Put16(0, 0x5A4D);
        Put32(0x3C, 0x80);
        Put32(0x80, 0x00004550);
        const uint32_t optional = 0x80 + 24;
        Put16(optional, wide ? 0x20B : 0x10B);
        const uint32_t count = optional + (wide ? 108 : 92);
        Put32(count, 16);
        Put32(count + 4 + 8, 0x1000);  // import directory rva
        Put32(count + 4 + 12, 60);

        Descriptor(0x1000, 0x1100, 0x1300, 0x1200);
        Descriptor(0x1014, 0x1140, 0x1310, 0x1240);
        PutString(0x1300, "KERNEL32.dll");
        PutString(0x1310, "WINMM.dll");
        Thunk(0x1100, 0, 0x1400);
        PutString(0x1402, "Sleep");
        Thunk(0x1140, 0, wide ? 0x8000000000000005ull : 0x80000005ull);  // by ordinal
        Thunk(0x1140, 1, 0x1420);
        Thunk(0x1140, 2, 0x1440);
        PutString(0x1422, "joyGetPosEx");
        PutString(0x1442, "joyGetDevCapsA");
    }

    uint32_t ThunkSize() const { return wide_ ? 8 : 4; }
    std::vector<uint8_t>& Bytes() { return image_; }

    void Put16(size_t at, uint32_t v) {
        image_[at] = v & 0xFF;
        image_[at + 1] = (v >> 8) & 0xFF;
    }
    void Put32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) image_[at + i] = (v >> (8 * i)) & 0xFF;
    }
    void PutString(size_t at, const std::string& s) { std::memcpy(&image_[at], s.c_str(), s.size() + 1); }

private:
    void Descriptor(size_t at, uint32_t names, uint32_t dll, uint32_t addresses) {
        Put32(at, names);
        Put32(at + 12, dll);
        Put32(at + 16, addresses);
    }
    void Thunk(size_t table, size_t index, uint64_t value) {
        const size_t at = table + index * ThunkSize();
        Put32(at, static_cast<uint32_t>(value));
        if (wide_) Put32(at + 4, static_cast<uint32_t>(value >> 32));
    }

    bool wide_;
    std::vector<uint8_t> image_;
};

ImportSlot Find(ImageBuilder& b, const char* dll, const char* fn) {
    return FindImportSlot(b.Bytes().data(), b.Bytes().size(), dll, fn);
}

}  // namespace

TEST(PeImports, TheSlotIsFoundByModuleNameWithoutCaseAndFunctionNameExactly) {
    ImageBuilder b;
    const ImportSlot slot = Find(b, "winmm.dll", "joyGetDevCapsA");
    ASSERT_TRUE(slot.Found) << slot.Error;
    EXPECT_EQ(slot.Rva, 0x1240u + 2 * 4) << "third entry of winmm's address table, past one by ordinal";
    EXPECT_EQ(Find(b, "kernel32.DLL", "Sleep").Rva, 0x1200u);

    const ImportSlot wrongCase = Find(b, "winmm.dll", "joygetdevcapsa");
    EXPECT_FALSE(wrongCase.Found);
    EXPECT_EQ(wrongCase.Error, "the module imports from winmm.dll but not joygetdevcapsa");
    const ImportSlot otherDll = Find(b, "dinput.dll", "joyGetDevCapsA");
    EXPECT_FALSE(otherDll.Found);
    EXPECT_EQ(otherDll.Error, "the module does not import from dinput.dll");
}

TEST(PeImports, A64BitImageUsesEightByteEntries) {
    ImageBuilder b(true);
    const ImportSlot slot = Find(b, "WINMM.DLL", "joyGetDevCapsA");
    ASSERT_TRUE(slot.Found) << slot.Error;
    EXPECT_EQ(slot.Rva, 0x1240u + 2 * 8);
}

TEST(PeImports, AModuleWhoseNameTableIsGoneCannotBeSearched) {
    ImageBuilder b;
    b.Put32(0x1014, 0);  // winmm's name table
    const ImportSlot slot = Find(b, "winmm.dll", "joyGetDevCapsA");
    EXPECT_FALSE(slot.Found);
    EXPECT_NE(slot.Error.find("no name table"), std::string::npos) << slot.Error;
}

TEST(PeImports, ImagesThatAreNotPeOrPointOutsideThemselvesAreRefused) {
    {
        ImageBuilder b;
        b.Put16(0, 0x4D5A);
        EXPECT_EQ(Find(b, "winmm.dll", "joyGetDevCapsA").Error, "not a PE image: no MZ header");
    }
    {
        ImageBuilder b;
        b.Put32(0x3C, 0xFFFFFFF0u);
        EXPECT_EQ(Find(b, "winmm.dll", "joyGetDevCapsA").Error, "not a PE image: no PE signature");
    }
    {
        ImageBuilder b;
        b.Put32(0x80 + 24 + 96 + 8, 0x7FFFFF00u);  // import directory far away
        EXPECT_EQ(Find(b, "winmm.dll", "joyGetDevCapsA").Error, "the import directory runs past the image");
    }
    {
        ImageBuilder b;
        b.Put32(0x1014 + 12, 0x14FC);  // winmm's name in the last bytes
        b.PutString(0x14FC, "WIN");    // terminated at the very end
        b.Bytes()[0x14FF] = 'M';       // ...and now not at all
        EXPECT_EQ(Find(b, "winmm.dll", "joyGetDevCapsA").Error, "an imported module's name lies outside the image");
    }
    {
        ImageBuilder b;
        b.Put32(0x1140 + 8, 0x7FFFFFF0u);  // a function's name far away
        EXPECT_EQ(Find(b, "winmm.dll", "joyGetDevCapsA").Error, "an imported function's name lies outside the image");
    }
}

TEST(PeImports, AnImageCutShortAnywhereIsNeverReadPastItsEnd) {
    ImageBuilder b;
    const std::vector<uint8_t> full = b.Bytes();
    for (size_t size = 0; size < 0x1450; ++size) {
        // Each cut lands in a buffer of exactly that size, so a read past it
        // is a fault the sanitizer tree reports.
        std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(size));
        const ImportSlot slot = FindImportSlot(cut.data(), cut.size(), "winmm.dll", "joyGetDevCapsA");
        EXPECT_FALSE(slot.Found) << "an image of " << size << " bytes";
        EXPECT_FALSE(slot.Error.empty());
    }
    EXPECT_TRUE(FindImportSlot(full.data(), full.size(), "winmm.dll", "joyGetDevCapsA").Found);
}
