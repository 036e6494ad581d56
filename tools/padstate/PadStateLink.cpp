#include "tools/padstate/PadStateLink.h"

namespace padstate {

PadStateLink::PadStateLink() {
    mapping_.reset(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(PadStateBlock),
                                        kMappingName));
    if (!mapping_) return;
    const bool created = ::GetLastError() != ERROR_ALREADY_EXISTS;
    block_ = static_cast<PadStateBlock*>(::MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!block_) return;
    // A fresh mapping is all zero; a block of another layout is reset too.
    if (created || block_->Magic != kBlockMagic || block_->Version != kBlockVersion) ResetBlock(*block_);
}

PadStateLink::~PadStateLink() {
    if (block_) ::UnmapViewOfFile(block_);
}

}  // namespace padstate
