#include "HardwareIdList.h"

#include <cstring>

namespace padsetup {

namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringAsciiCase(const char* entry, std::size_t length, const char* wanted) {
    if (std::strlen(wanted) != length) return false;
    for (std::size_t i = 0; i < length; ++i)
        if (FoldAscii(entry[i]) != FoldAscii(wanted[i])) return false;
    return true;
}

}  // namespace

bool HardwareIdListHolds(const char* buffer, std::size_t bufferSize, std::size_t returnedSize,
                         const char* wanted) {
    if (!buffer || !wanted) return false;
    const std::size_t end = returnedSize < bufferSize ? returnedSize : bufferSize;
    std::size_t at = 0;
    while (at < end && buffer[at] != '\0') {
        const void* nul = std::memchr(buffer + at, '\0', end - at);
        const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - (buffer + at))
                                       : end - at;  // the last entry lost its NUL: it ends at the edge
        if (EqualIgnoringAsciiCase(buffer + at, length, wanted)) return true;
        at += length + 1;
    }
    return false;
}

}  // namespace padsetup
