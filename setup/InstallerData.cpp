#include "InstallerData.h"

#include <cstring>

namespace padsetup {

namespace {

template <std::size_t N>
class LittleEndianWriter {
public:
    LittleEndianWriter& Put(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_[at_++] = static_cast<uint8_t>(v >> (8 * i));
        return *this;
    }
    Block<N> Done() const { return bytes_; }

private:
    Block<N> bytes_{};
    std::size_t at_ = 0;
};

}  // namespace

std::array<char, kFilterMultiStringSize> FilterMultiString() {
    std::array<char, kFilterMultiStringSize> s{};  // the two NULs come from the zero fill
    std::memcpy(s.data(), kFilterDriver, sizeof(kFilterDriver) - 1);
    return s;
}

Block<8> Pack(const HardwareSettings& s) {
    return LittleEndianWriter<8>().Put(s.Flags).Put(s.NumButtons).Done();
}

Block<4> Pack(const AxisAttributes& a) {
    // The usage page and usage words of the structure are not stored.
    return LittleEndianWriter<4>().Put(a.Flags).Done();
}

Block<8> Pack(const AxisFfAttributes& a) {
    return LittleEndianWriter<8>().Put(a.MaxForce).Put(a.ForceResolution).Done();
}

Block<12> Pack(const DeviceFfAttributes& d) {
    return LittleEndianWriter<12>().Put(d.Flags).Put(d.SamplePeriod).Put(d.MinTimeResolution).Done();
}

}  // namespace padsetup
