#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "hosts/cplhost/PngEncoder.h"

namespace {

using cplhost::EncodePng;

uint32_t Be32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

struct Chunk {
    std::string Type;
    std::vector<uint8_t> Data;
};

// Splits a PNG into chunks, checking each chunk's CRC on the way.
std::vector<Chunk> Chunks(const std::vector<uint8_t>& png) {
    std::vector<Chunk> out;
    size_t at = 8;
    while (at + 12 <= png.size()) {
        const uint32_t n = Be32(&png[at]);
        Chunk c;
        c.Type.assign(reinterpret_cast<const char*>(&png[at + 4]), 4);
        c.Data.assign(png.begin() + static_cast<long>(at + 8), png.begin() + static_cast<long>(at + 8 + n));
        EXPECT_EQ(Be32(&png[at + 8 + n]), cplhost::Crc32(&png[at + 4], n + 4)) << c.Type << " has a good CRC";
        out.push_back(c);
        at += 12 + n;
    }
    EXPECT_EQ(at, png.size()) << "nothing trails the last chunk";
    return out;
}

// Undoes stored deflate blocks; fails the test on anything else.
std::vector<uint8_t> Inflate(const std::vector<uint8_t>& z) {
    std::vector<uint8_t> out;
    EXPECT_EQ(z[0], 0x78);
    EXPECT_EQ((z[0] * 256 + z[1]) % 31, 0) << "the zlib header check";
    size_t at = 2;
    for (;;) {
        const uint8_t head = z[at];
        EXPECT_EQ(head & 6, 0) << "stored block";
        const unsigned len = z[at + 1] | (z[at + 2] << 8);
        const unsigned nlen = z[at + 3] | (z[at + 4] << 8);
        EXPECT_EQ(len ^ 0xFFFFu, nlen);
        out.insert(out.end(), z.begin() + static_cast<long>(at + 5), z.begin() + static_cast<long>(at + 5 + len));
        at += 5 + len;
        if (head & 1) break;
    }
    EXPECT_EQ(Be32(&z[at]), cplhost::Adler32(out.data(), out.size()));
    return out;
}

TEST(Png, KnownChecksums) {
    const uint8_t text[] = "123456789";
    EXPECT_EQ(cplhost::Crc32(text, 9), 0xCBF43926u);
    const uint8_t wiki[] = "Wikipedia";
    EXPECT_EQ(cplhost::Adler32(wiki, 9), 0x11E60398u);
}

TEST(Png, HoldsTheHeaderAndEveryPixelRowBehindFilterZero) {
    const uint32_t w = 3, h = 2;
    const size_t stride = 12;  // padded rows, as a bitmap gives them
    std::vector<uint8_t> rgb(stride * h, 0xEE);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t i = 0; i < w * 3; ++i) rgb[y * stride + i] = static_cast<uint8_t>(y * 16 + i);
    const std::vector<uint8_t> png = EncodePng(w, h, rgb.data(), stride);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
    const std::vector<Chunk> chunks = Chunks(png);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].Type, "IHDR");
    EXPECT_EQ(Be32(&chunks[0].Data[0]), w);
    EXPECT_EQ(Be32(&chunks[0].Data[4]), h);
    EXPECT_EQ(chunks[0].Data[8], 8);
    EXPECT_EQ(chunks[0].Data[9], 2) << "truecolour";
    EXPECT_EQ(chunks[1].Type, "IDAT");
    EXPECT_EQ(chunks[2].Type, "IEND");
    const std::vector<uint8_t> raw = Inflate(chunks[1].Data);
    ASSERT_EQ(raw.size(), h * (1 + w * 3));
    for (uint32_t y = 0; y < h; ++y) {
        EXPECT_EQ(raw[y * 10], 0);
        for (uint32_t i = 0; i < w * 3; ++i) EXPECT_EQ(raw[y * 10 + 1 + i], y * 16 + i);
    }
}

TEST(Png, SplitsLargeImagesIntoSeveralStoredBlocks) {
    const uint32_t w = 500, h = 200;  // 300200 bytes of scanlines: five blocks
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * 3 * h);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 7);
    const std::vector<uint8_t> png = EncodePng(w, h, rgb.data(), w * 3);
    const std::vector<uint8_t> raw = Inflate(Chunks(png)[1].Data);
    ASSERT_EQ(raw.size(), static_cast<size_t>(h) * (1 + w * 3));
    EXPECT_EQ(raw[1 + 1234], rgb[1234]);
    EXPECT_EQ(raw.back(), rgb.back());
}

TEST(Png, AnEmptyImageGivesNoFile) {
    uint8_t px[3] = {};
    EXPECT_TRUE(EncodePng(0, 5, px, 3).empty());
    EXPECT_TRUE(EncodePng(5, 0, px, 3).empty());
    EXPECT_TRUE(EncodePng(1, 1, nullptr, 3).empty());
}

}  // namespace
