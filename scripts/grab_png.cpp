// Writes a rectangle of an X screen to a PNG file, every `step`-th pixel of it:
//   grab_png DISPLAY X Y WIDTH HEIGHT STEP OUT.png
// Built and used by scripts/korvis_screenshots.sh; needs Xlib and zlib only.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void PutBig(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(char((v >> shift) & 255));
}

void Chunk(std::FILE* file, const char* type, const std::string& data) {
    std::string chunk(type, 4);
    chunk += data;
    std::string length;
    PutBig(length, std::uint32_t(data.size()));
    std::string crc;
    PutBig(crc, std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(chunk.data()), uInt(chunk.size()))));
    std::fwrite(length.data(), 1, 4, file);
    std::fwrite(chunk.data(), 1, chunk.size(), file);
    std::fwrite(crc.data(), 1, 4, file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 8) {
        std::fprintf(stderr, "usage: grab_png DISPLAY X Y WIDTH HEIGHT STEP OUT.png\n");
        return 2;
    }
    Display* display = XOpenDisplay(argv[1]);
    if (!display) {
        std::fprintf(stderr, "grab_png: cannot open display %s\n", argv[1]);
        return 1;
    }
    int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
    int width = std::atoi(argv[4]), height = std::atoi(argv[5]), step = std::atoi(argv[6]);
    if (width <= 0 || height <= 0 || step <= 0) return 2;
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, unsigned(width),
                              unsigned(height), AllPlanes, ZPixmap);
    if (!image) return 1;
    const int w = width / step, h = height / step;
    std::vector<unsigned char> raw;
    for (int row = 0; row < h; ++row) {
        raw.push_back(0);  // no filter
        for (int col = 0; col < w; ++col) {
            unsigned long p = XGetPixel(image, col * step, row * step);
            raw.push_back((unsigned char)((p >> 16) & 255));
            raw.push_back((unsigned char)((p >> 8) & 255));
            raw.push_back((unsigned char)(p & 255));
        }
    }
    XDestroyImage(image);
    XCloseDisplay(display);
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, raw.data(), uLong(raw.size()), 9);
    packed.resize(packedSize);
    std::FILE* file = std::fopen(argv[7], "wb");
    if (!file) return 1;
    std::fwrite("\x89PNG\r\n\x1a\n", 1, 8, file);
    std::string header;
    PutBig(header, std::uint32_t(w));
    PutBig(header, std::uint32_t(h));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
    Chunk(file, "IHDR", header);
    Chunk(file, "IDAT", packed);
    Chunk(file, "IEND", "");
    return std::fclose(file) == 0 ? 0 : 1;
}
