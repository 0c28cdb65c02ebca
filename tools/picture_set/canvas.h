// A small RGB canvas with the drawing primitives the default picture set is made of, and
// its writers: 24-bit BMP files for the program, PNG files for the desktop's icons.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

constexpr Rgb BLACK{0, 0, 0};

// Row 0 is the top row while drawing; the writer stores rows bottom-up as BMP files do.
class Canvas {
  public:
    Canvas(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb At(int x, int y) const;
    void Set(int x, int y, Rgb c);  // ignores points outside
    void Fill(Rgb c);
    void Rect(int x0, int y0, int x1, int y1, Rgb c);  // inclusive corners, any order
    void Frame(int x0, int y0, int x1, int y1, Rgb c);
    void Disc(int cx, int cy, int r, Rgb c);
    void Ring(int cx, int cy, int r, Rgb c);
    void Ellipse(int cx, int cy, int rx, int ry, Rgb c);
    void Line(int x0, int y0, int x1, int y1, Rgb c);
    void ThickLine(int x0, int y0, int x1, int y1, int thickness, Rgb c);
    void Triangle(int x0, int y0, int x1, int y1, int x2, int y2, Rgb c);
    // Scatters `count` points of colour c over the rectangle, placed by a fixed hash of seed.
    void Speckle(int x0, int y0, int x1, int y1, int count, unsigned seed, Rgb c);
    // Copies `source` with its top-left corner at (x, y); with `keyed`, pure black stays out.
    void Blit(const Canvas& source, int x, int y, bool keyed);
    // The canvas enlarged `factor` times, each pixel a factor x factor square.
    Canvas Enlarged(int factor) const;
    bool WriteBmp(const std::string& path) const;
    // An RGBA PNG in which pure black, the key colour of the sprites, is transparent.
    bool WritePng(const std::string& path) const;

  private:
    int width_, height_;
    std::vector<Rgb> pixels_;
};

Rgb Shade(Rgb c, int percent);  // percent of each channel, saturated at 255
Rgb Mix(Rgb a, Rgb b, int percentOfB);
unsigned HashText(const std::string& text);
