// Helpers for tests that need real files: a temporary folder that is made current for the
// test's span, BMP files written byte by byte, and JPEG files made from a colour function.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.h"

// The system's separator between folder names, as the program writes it into paths.
inline std::string Separator() {
    return std::string(1, platform::PathSeparator());
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder() {
        static int serial = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("quentaro_test_" + std::to_string(std::random_device{}()) + "_" +
                 std::to_string(serial++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Path() const { return path_.string(); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::ofstream file(path_ / name, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    void Touch(const std::string& name) const { Write(name, {}); }
    void MakeFolder(const std::string& name) const {
        std::filesystem::create_directory(path_ / name);
    }

  private:
    std::filesystem::path path_;
};

// Keeps the current folder as it was when constructed.
class KeepCurrentFolder {
  public:
    KeepCurrentFolder() : saved_(platform::CurrentFolder()) {}
    ~KeepCurrentFolder() { platform::SetCurrentFolder(saved_.c_str()); }

  private:
    std::string saved_;
};

struct Rgb8 {
    std::uint8_t r, g, b;
    bool operator==(const Rgb8&) const = default;
};

// The fields of a BMP file that the tests vary; pixel rows are given as stored.
struct BmpSpec {
    int headerBytes = 40;  // 12, 40, 108 or 124
    std::int32_t width = 0, height = 0;
    int bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> masks;  // R, G, B for bit fields
    std::vector<Rgb8> palette;
    std::uint32_t paletteUsed = 0;         // the header's colours-used value
    std::vector<std::uint8_t> pixelBytes;  // rows as stored, padding included
};

inline void PutLe(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + i] = std::uint8_t(value >> (8 * i));
}

inline std::vector<std::uint8_t> BmpBytes(const BmpSpec& s) {
    bool core = s.headerBytes == 12;
    bool masksAfter = s.headerBytes == 40 && !s.masks.empty();
    std::size_t paletteBytes = s.palette.size() * (core ? 3 : 4);
    std::size_t offset = 14 + s.headerBytes + (masksAfter ? 12 : 0) + paletteBytes;
    std::vector<std::uint8_t> out(offset, 0);
    out[0] = 'B';
    out[1] = 'M';
    PutLe(out, 2, std::uint32_t(offset + s.pixelBytes.size()), 4);
    PutLe(out, 10, std::uint32_t(offset), 4);
    PutLe(out, 14, std::uint32_t(s.headerBytes), 4);
    if (core) {
        PutLe(out, 18, std::uint32_t(s.width), 2);
        PutLe(out, 20, std::uint32_t(s.height), 2);
        PutLe(out, 22, 1, 2);
        PutLe(out, 24, std::uint32_t(s.bitsPerPixel), 2);
    } else {
        PutLe(out, 18, std::uint32_t(s.width), 4);
        PutLe(out, 22, std::uint32_t(s.height), 4);
        PutLe(out, 26, 1, 2);
        PutLe(out, 28, std::uint32_t(s.bitsPerPixel), 2);
        PutLe(out, 30, s.compression, 4);
        PutLe(out, 46, s.paletteUsed, 4);
        // After a 40-byte header or inside a longer one: the same place either way.
        for (std::size_t i = 0; i < s.masks.size() && i < 3; ++i)
            PutLe(out, 14 + 40 + 4 * i, s.masks[i], 4);
    }
    std::size_t at = 14 + s.headerBytes + (masksAfter ? 12 : 0);
    for (const Rgb8& c : s.palette) {
        out[at] = c.b;
        out[at + 1] = c.g;
        out[at + 2] = c.r;
        at += core ? 3 : 4;
    }
    out.insert(out.end(), s.pixelBytes.begin(), s.pixelBytes.end());
    return out;
}

// A 24-bit bottom-up BMP whose pixel (x, y), y counted from the bottom, is colour(x, y).
inline std::vector<std::uint8_t> Bmp24(int width, int height,
                                       const std::function<Rgb8(int, int)>& colour) {
    BmpSpec s;
    s.width = width;
    s.height = height;
    int stride = (width * 3 + 3) / 4 * 4;
    s.pixelBytes.assign(std::size_t(stride) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgb8 c = colour(x, y);
            std::uint8_t* p = &s.pixelBytes[std::size_t(y) * stride + 3 * x];
            p[0] = c.b, p[1] = c.g, p[2] = c.r;
        }
    return BmpBytes(s);
}

// The Windows build decodes JPEG files through the system, which offers no encoder: tests that
// make their own JPEG files cannot run there.
#ifdef _WIN32
#define SKIP_WITHOUT_JPEG_WRITER() GTEST_SKIP() << "no JPEG encoder in this build"
#else
#define SKIP_WITHOUT_JPEG_WRITER() (void)0
#endif

// A JPEG file whose stored pixel (x, y), y counted from the bottom, is colour(x, y); with an
// EXIF orientation tag when `orientation` is 2 to 8.
inline bool WriteJpeg(const std::string& path, int width, int height,
                      const std::function<Rgb8(int, int)>& colour, int quality = 95,
                      int orientation = 1) {
    platform::Picture p;
    p.width = p.fullWidth = width;
    p.height = p.fullHeight = height;
    p.bgrx.resize(std::size_t(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgb8 c = colour(x, y);
            std::uint8_t* o = &p.bgrx[(std::size_t(y) * width + x) * 4];
            o[0] = c.b, o[1] = c.g, o[2] = c.r, o[3] = 255;
        }
    return platform::WriteJpegFile(path.c_str(), p, quality, orientation);
}

// A picture stored in four flat quadrants, as a camera stores it: top-left red, top-right
// green, bottom-left blue, bottom-right white.
inline Rgb8 StoredQuadrant(int x, int y, int width, int height) {
    bool top = y >= height / 2, left = x < width / 2;
    if (top) return left ? Rgb8{255, 0, 0} : Rgb8{0, 255, 0};
    return left ? Rgb8{0, 0, 255} : Rgb8{255, 255, 255};
}

// Where the stored top-left (red) and top-right (green) quadrants stand once a picture of
// each EXIF orientation is upright: 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left.
// Two corners fix the turn and the mirror.
struct UprightCorners {
    int red, green;
};
inline UprightCorners CornersOf(int orientation) {
    static const UprightCorners table[9] = {{0, 1}, {0, 1}, {1, 0}, {2, 3}, {3, 2},
                                            {0, 3}, {1, 2}, {2, 1}, {3, 0}};
    return table[orientation >= 1 && orientation <= 8 ? orientation : 1];
}
