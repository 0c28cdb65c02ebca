// The full view's fit (the F key): the whole picture centred in the frame, aspect kept,
// shrunk by averaging or enlarged up to twice its size, standing still under the pointer.
#pragma once

#include <cstdint>
#include <vector>

// 1 while the full view fits its picture into the frame: from F in the full view until a
// zoom key (1-6) or a pan key (7-9) is pressed. It outlasts the full view, so pictures
// opened afterwards come fitted too.
extern int FullViewFit;

// Where a picture of width x height goes in a frame: in frame pixels, x and y of its
// bottom-left corner, and its fitted size.
struct FitRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const FitRect&) const = default;
};
// The largest size with the picture's aspect that fits the frame, but at most twice the
// picture's own size, centred. Empty for an empty picture or frame.
FitRect FitPicture(int width, int height, int frameWidth, int frameHeight);

// Scales `pixels` (width x height, `bytesPerPixel` bytes a pixel with R, G, B first, rows
// bottom first) to outWidth x outHeight R, G, B pixels in `rgb`: each output pixel is the
// mean of the source area it covers, each source pixel weighted by the part of it covered.
void ScalePicture(const std::uint8_t* pixels, int width, int height, int bytesPerPixel,
                  int outWidth, int outHeight, std::vector<std::uint8_t>& rgb);

// Draws the store's picture fitted into the frame. The scaled picture is kept and made
// again only when the picture or the frame size changes, so a pass while the pointer moves
// costs the copy alone.
void DrawFittedPicture(const std::uint8_t* pixels, int width, int height, int bytesPerPixel,
                       int loadCount);
