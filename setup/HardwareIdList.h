// Looking for the pad among a device node's hardware ids.
#pragma once

#include <cstddef>

namespace padsetup {

// Whether the multi-string in `data` holds `id` as a whole entry, compared
// without regard to ASCII case. `capacity` is the size of the buffer the list
// was read into and `returned` the size the read reported; nothing at or past
// either is read. An entry cut off by the buffer's end never matches; one
// that runs to the true end of the data without its NUL does.
bool HardwareIdListHolds(const char* data, size_t capacity, size_t returned, const char* id);

}  // namespace padsetup
