// The walk over a device node's hardware-id list (a multi-string).
#pragma once

#include <cstddef>

namespace padsetup {

// True when one entry of the list equals `wanted` as a whole, without regard
// to ASCII case. `returnedSize` is the size the property call reported; only
// the bytes below both it and `bufferSize` are ever read, so a list without
// its closing NULs, or one that fills the buffer, ends at the buffer's edge.
// `wanted` must be plain ASCII: a double-byte character's lead byte is never
// below 0x80, so no entry holding one can match, which is what a comparison
// that treats such characters as units would say too.
bool HardwareIdListHolds(const char* buffer, std::size_t bufferSize, std::size_t returnedSize,
                         const char* wanted);

}  // namespace padsetup
