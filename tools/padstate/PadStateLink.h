// The shared block as a named file mapping: whoever opens it first creates
// and resets it; everyone in the same Wine session sees the same bytes.
#pragma once

#include <windows.h>

#include "common/win/UniqueResource.h"
#include "tools/padstate/PadStateBlock.h"

namespace padstate {

inline constexpr char kMappingName[] = "Local\\PadPanelPadState";

class PadStateLink {
public:
    PadStateLink();
    ~PadStateLink();
    PadStateLink(const PadStateLink&) = delete;
    PadStateLink& operator=(const PadStateLink&) = delete;

    bool IsOpen() const { return block_ != nullptr; }
    PadStateBlock* operator->() const { return block_; }
    PadStateBlock& Block() const { return *block_; }

    // Counter bump the stand-in uses: interlocked, so any thread may count.
    static void Count(uint32_t& counter) { ::InterlockedIncrement(reinterpret_cast<volatile LONG*>(&counter)); }
    static uint32_t Read(const uint32_t& counter) {
        return static_cast<uint32_t>(::InterlockedCompareExchange(
            reinterpret_cast<volatile LONG*>(const_cast<uint32_t*>(&counter)), 0, 0));
    }

private:
    win::UniqueHandle mapping_;
    PadStateBlock* block_ = nullptr;
};

}  // namespace padstate
