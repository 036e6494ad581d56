// A small PNG writer: 24-bit RGB, no filtering, stored deflate blocks. Big
// files, but no library and nothing that can go wrong in compression.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace cplhost {

// `rgb` holds `height` rows of `width` pixels, 3 bytes each (R, G, B), rows
// `stride` bytes apart, top row first. Empty on a zero size.
std::vector<uint8_t> EncodePng(uint32_t width, uint32_t height, const uint8_t* rgb, size_t stride);

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t size);

}  // namespace cplhost
