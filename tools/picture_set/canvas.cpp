// Drawing primitives and the BMP writer of the picture set generator.
#include "canvas.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(std::size_t(width) * height) {}

Rgb Canvas::At(int x, int y) const {
    return pixels_[std::size_t(y) * width_ + x];
}

void Canvas::Set(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[std::size_t(y) * width_ + x] = c;
}

void Canvas::Fill(Rgb c) {
    std::fill(pixels_.begin(), pixels_.end(), c);
}

void Canvas::Rect(int x0, int y0, int x1, int y1, Rgb c) {
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) Set(x, y, c);
}

void Canvas::Frame(int x0, int y0, int x1, int y1, Rgb c) {
    Line(x0, y0, x1, y0, c);
    Line(x0, y1, x1, y1, c);
    Line(x0, y0, x0, y1, c);
    Line(x1, y0, x1, y1, c);
}

void Canvas::Disc(int cx, int cy, int r, Rgb c) {
    Ellipse(cx, cy, r, r, c);
}

void Canvas::Ellipse(int cx, int cy, int rx, int ry, Rgb c) {
    for (int y = -ry; y <= ry; ++y)
        for (int x = -rx; x <= rx; ++x) {
            // Scaled so that a radius r covers the points within r + 0.5.
            long lhs = long(x) * x * (2 * ry + 1) * (2 * ry + 1) +
                       long(y) * y * (2 * rx + 1) * (2 * rx + 1);
            long rhs = long(2 * rx + 1) * (2 * rx + 1) * (2 * ry + 1) * (2 * ry + 1) / 4;
            if (lhs <= rhs) Set(cx + x, cy + y, c);
        }
}

void Canvas::Ring(int cx, int cy, int r, Rgb c) {
    for (int y = -r - 1; y <= r + 1; ++y)
        for (int x = -r - 1; x <= r + 1; ++x) {
            int d2 = x * x + y * y;
            if (d2 <= r * r + r && d2 >= (r - 1) * (r - 1) + (r - 1)) Set(cx + x, cy + y, c);
        }
}

void Canvas::Line(int x0, int y0, int x1, int y1, Rgb c) {
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Set(x0, y0, c);
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::ThickLine(int x0, int y0, int x1, int y1, int thickness, Rgb c) {
    for (int oy = 0; oy < thickness; ++oy)
        for (int ox = 0; ox < thickness; ++ox) Line(x0 + ox, y0 + oy, x1 + ox, y1 + oy, c);
}

void Canvas::Triangle(int x0, int y0, int x1, int y1, int x2, int y2, Rgb c) {
    int minX = std::min({x0, x1, x2}), maxX = std::max({x0, x1, x2});
    int minY = std::min({y0, y1, y2}), maxY = std::max({y0, y1, y2});
    auto edge = [](int ax, int ay, int bx, int by, int px, int py) {
        return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
    };
    int area = edge(x0, y0, x1, y1, x2, y2);
    if (area == 0) {
        Line(x0, y0, x1, y1, c);
        Line(x1, y1, x2, y2, c);
        return;
    }
    for (int y = minY; y <= maxY; ++y)
        for (int x = minX; x <= maxX; ++x) {
            int w0 = edge(x1, y1, x2, y2, x, y), w1 = edge(x2, y2, x0, y0, x, y),
                w2 = edge(x0, y0, x1, y1, x, y);
            bool inside =
                area > 0 ? (w0 >= 0 && w1 >= 0 && w2 >= 0) : (w0 <= 0 && w1 <= 0 && w2 <= 0);
            if (inside) Set(x, y, c);
        }
}

void Canvas::Speckle(int x0, int y0, int x1, int y1, int count, unsigned seed, Rgb c) {
    unsigned state = seed * 2654435761u + 12345u;
    int w = x1 - x0 + 1, h = y1 - y0 + 1;
    for (int i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        int x = int((state >> 8) % unsigned(w));
        state = state * 1103515245u + 12345u;
        int y = int((state >> 8) % unsigned(h));
        Set(x0 + x, y0 + y, c);
    }
}

bool Canvas::WriteBmp(const std::string& path) const {
    int rowBytes = (width_ * 3 + 3) / 4 * 4;
    std::uint32_t dataBytes = std::uint32_t(rowBytes) * height_;
    unsigned char header[54] = {'B', 'M'};
    auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) header[at + i] = (v >> (8 * i)) & 0xFF;
    };
    put32(2, 54 + dataBytes);
    put32(10, 54);
    put32(14, 40);
    put32(18, std::uint32_t(width_));
    put32(22, std::uint32_t(height_));
    header[26] = 1;
    header[28] = 24;
    put32(34, dataBytes);
    put32(38, 2835);  // 72 dots per inch
    put32(42, 2835);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    bool ok = std::fwrite(header, 1, sizeof header, file) == sizeof header;
    std::vector<unsigned char> row(std::size_t(rowBytes), 0);
    for (int y = height_ - 1; y >= 0 && ok; --y) {  // bottom row first
        for (int x = 0; x < width_; ++x) {
            Rgb c = At(x, y);
            row[3 * x] = c.b;
            row[3 * x + 1] = c.g;
            row[3 * x + 2] = c.r;
        }
        ok = std::fwrite(row.data(), 1, row.size(), file) == row.size();
    }
    return std::fclose(file) == 0 && ok;
}

void Canvas::Blit(const Canvas& source, int x, int y, bool keyed) {
    for (int sy = 0; sy < source.height_; ++sy)
        for (int sx = 0; sx < source.width_; ++sx) {
            Rgb c = source.At(sx, sy);
            if (keyed && c.r == 0 && c.g == 0 && c.b == 0) continue;
            Set(x + sx, y + sy, c);
        }
}

Canvas Canvas::Enlarged(int factor) const {
    Canvas large(width_ * factor, height_ * factor);
    for (int y = 0; y < large.height_; ++y)
        for (int x = 0; x < large.width_; ++x) large.Set(x, y, At(x / factor, y / factor));
    return large;
}

namespace {

std::uint32_t Crc32(const unsigned char* data, std::size_t size, std::uint32_t crc = 0) {
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void Put32(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back((v >> shift) & 0xFF);
}

void Chunk(std::vector<unsigned char>& out, const char* type,
           const std::vector<unsigned char>& data) {
    Put32(out, std::uint32_t(data.size()));
    std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    Put32(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored (uncompressed) blocks: icons are small, and no library is needed.
std::vector<unsigned char> StoredZlib(const std::vector<unsigned char>& raw) {
    std::vector<unsigned char> out = {0x78, 0x01};
    std::size_t at = 0;
    do {
        std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        out.push_back(at + n == raw.size() ? 1 : 0);
        out.push_back(n & 0xFF);
        out.push_back(n >> 8);
        out.push_back(~n & 0xFF);
        out.push_back((~n >> 8) & 0xFF);
        out.insert(out.end(), raw.begin() + long(at), raw.begin() + long(at + n));
        at += n;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    Put32(out, b << 16 | a);
    return out;
}

}  // namespace

bool Canvas::WritePng(const std::string& path) const {
    std::vector<unsigned char> header;
    Put32(header, std::uint32_t(width_));
    Put32(header, std::uint32_t(height_));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, no interlace
    std::vector<unsigned char> raw;
    for (int y = 0; y < height_; ++y) {
        raw.push_back(0);  // no row filter
        for (int x = 0; x < width_; ++x) {
            Rgb c = At(x, y);
            bool key = c.r == 0 && c.g == 0 && c.b == 0;
            raw.insert(raw.end(), {c.r, c.g, c.b, std::uint8_t(key ? 0 : 255)});
        }
    }
    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", StoredZlib(raw));
    Chunk(png, "IEND", {});
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && ok;
}

Rgb Shade(Rgb c, int percent) {
    auto s = [&](int v) { return std::uint8_t(std::min(255, v * percent / 100)); };
    return {s(c.r), s(c.g), s(c.b)};
}

Rgb Mix(Rgb a, Rgb b, int p) {
    auto m = [&](int x, int y) { return std::uint8_t((x * (100 - p) + y * p) / 100); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

unsigned HashText(const std::string& text) {
    unsigned h = 2166136261u;
    for (unsigned char ch : text) h = (h ^ ch) * 16777619u;
    return h;
}
