// A control's caption: at most 31 characters and the NUL, as the page's
// 32-byte caption buffers hold. Longer texts are cut.
#pragma once

#include <cstddef>
#include <cstring>

namespace padpanel {

class Caption {
public:
    static constexpr size_t kCapacity = 32;

    Caption() = default;
    explicit Caption(const char* text) { Set(text); }

    // A null text changes nothing.
    void Set(const char* text) {
        if (!text) return;
        size_t n = 0;
        while (n < kCapacity - 1 && text[n]) ++n;
        std::memcpy(text_, text, n);
        text_[n] = '\0';
    }
    const char* Text() const { return text_; }
    size_t Length() const { return std::strlen(text_); }
    bool Empty() const { return text_[0] == '\0'; }

private:
    char text_[kCapacity] = {};
};

}  // namespace padpanel
