#include "setup/HardwareIdList.h"

namespace padsetup {

namespace {

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The ids are plain ASCII, so a byte-wise fold compares the same as a
// code-page aware one: a double-byte lead byte never equals an ASCII byte.
bool SameWithoutCase(const char* entry, size_t length, const char* id) {
    size_t i = 0;
    for (; i < length; ++i) {
        if (id[i] == '\0' || FoldCase(entry[i]) != FoldCase(id[i])) return false;
    }
    return id[i] == '\0';
}

}  // namespace

bool HardwareIdListHolds(const char* data, size_t capacity, size_t returned, const char* id) {
    if (!data || !id) return false;
    const bool truncated = returned > capacity;
    const size_t end = truncated ? capacity : returned;
    size_t pos = 0;
    while (pos < end && data[pos] != '\0') {
        size_t length = 0;
        while (pos + length < end && data[pos + length] != '\0') ++length;
        const bool terminated = pos + length < end;
        if ((terminated || !truncated) && SameWithoutCase(data + pos, length, id)) return true;
        pos += length + 1;
    }
    return false;
}

}  // namespace padsetup
