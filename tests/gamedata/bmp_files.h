// Hand-made BMP files for the picture loader and start-up tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace bmp_files {

struct Spec {
    int width = 16, height = 16;
    int bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::uint32_t pixelOffset = 54;  // bytes between 54 and the offset are filler
    bool signature = true;
    long long truncateTo = -1;  // cut the file to this many bytes
};

// Pixel (x, y), y counted from the bottom row, as R, G, B: distinct for every position.
inline void PixelAt(int x, int y, std::uint8_t rgb[3]) {
    rgb[0] = std::uint8_t(10 + x);
    rgb[1] = std::uint8_t(100 + y);
    rgb[2] = std::uint8_t(200 + (x + y) % 50);
}

inline std::string Bytes(const Spec& s) {
    int rowBytes = (s.width * 3 + 3) / 4 * 4;
    std::string b(s.pixelOffset, '\0');
    auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    b[0] = s.signature ? 'B' : 'X';
    b[1] = 'M';
    put32(10, s.pixelOffset);
    put32(14, 40);
    put32(18, std::uint32_t(s.width));
    put32(22, std::uint32_t(s.height));
    b[26] = 1;
    b[28] = char(s.bitsPerPixel);
    put32(30, s.compression);
    for (std::uint32_t i = 54; i < s.pixelOffset; ++i) b[i] = char(0xEE);
    for (int y = 0; y < s.height && s.width > 0 && s.height > 0; ++y) {
        std::string row(std::size_t(rowBytes), char(0xAB));  // padding that must be skipped
        for (int x = 0; x < s.width; ++x) {
            std::uint8_t rgb[3];
            PixelAt(x, y, rgb);
            row[3 * x] = char(rgb[2]);  // stored B, G, R
            row[3 * x + 1] = char(rgb[1]);
            row[3 * x + 2] = char(rgb[0]);
        }
        b += row;
    }
    if (s.truncateTo >= 0) b.resize(std::size_t(s.truncateTo));
    return b;
}

inline void Write(const std::filesystem::path& path, const Spec& spec) {
    std::ofstream(path, std::ios::binary) << Bytes(spec);
}

}  // namespace bmp_files
