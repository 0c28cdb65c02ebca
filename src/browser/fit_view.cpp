// The full view's fit: where the whole picture goes in the frame, the area-averaging scale
// that makes it that size, and the drawing of it, kept between passes. DrawFullView uses it
// while FullViewFit is on; the F key and the zoom and pan keys turn that on and off.
#include "browser/fit_view.h"

#include <algorithm>
#include <cstddef>

#include "draw/pixels.h"
#include "shell/app_state.h"

int FullViewFit = 0;

namespace {

// The source pixels that one output pixel covers along one axis, with in source pixels
// scaled to out: measured in 1/out of a source pixel, a whole pixel weighs out, the two
// ends their covered share, and the weights of one output pixel add up to in.
struct Span {
    int first = 0, last = 0;
    std::uint64_t firstWeight = 0, lastWeight = 0;
};

std::vector<Span> Spans(int in, int out) {
    std::vector<Span> spans(static_cast<std::size_t>(out));
    const std::uint64_t n = std::uint64_t(in), d = std::uint64_t(out);
    for (std::uint64_t k = 0; k < d; ++k) {
        const std::uint64_t begin = k * n, end = begin + n;
        Span& s = spans[k];
        s.first = int(begin / d);
        s.last = int((end - 1) / d);
        if (s.first == s.last) {
            s.firstWeight = n;
        } else {
            s.firstWeight = (std::uint64_t(s.first) + 1) * d - begin;
            s.lastWeight = end - std::uint64_t(s.last) * d;
        }
    }
    return spans;
}

// One source row summed into the output columns: per column and channel, the weighted sum.
// The pixels between the ends share one weight, so they are added first and weighed once.
void SumRow(const std::uint8_t* row, int bytesPerPixel, const std::vector<Span>& columns,
            std::uint64_t whole, std::uint64_t* sums) {
    for (const Span& s : columns) {
        const std::uint8_t* p = row + std::size_t(s.first) * std::size_t(bytesPerPixel);
        std::uint64_t r = p[0] * s.firstWeight, g = p[1] * s.firstWeight, b = p[2] * s.firstWeight;
        if (s.last > s.first) {
            std::uint64_t ir = 0, ig = 0, ib = 0;
            for (int i = s.first + 1; i < s.last; ++i) {
                p += bytesPerPixel;
                ir += p[0];
                ig += p[1];
                ib += p[2];
            }
            p += bytesPerPixel;
            r += ir * whole + p[0] * s.lastWeight;
            g += ig * whole + p[1] * s.lastWeight;
            b += ib * whole + p[2] * s.lastWeight;
        }
        sums[0] = r;
        sums[1] = g;
        sums[2] = b;
        sums += 3;
    }
}

// The picture last fitted, as drawn; remade when the store or the frame size changes.
struct FittedPicture {
    const std::uint8_t* pixels = nullptr;
    int width = 0, height = 0, bytesPerPixel = 0, loadCount = -1;
    int frameWidth = 0, frameHeight = 0;
    FitRect rect;
    std::vector<std::uint8_t> rgb;
};
FittedPicture Fitted;

}  // namespace

FitRect FitPicture(int width, int height, int frameWidth, int frameHeight) {
    FitRect fit;
    if (width <= 0 || height <= 0 || frameWidth <= 0 || frameHeight <= 0) return fit;
    const long long w = width, h = height, fw = frameWidth, fh = frameHeight;
    long long outW = fw, outH = fh;
    if (w * fh >= h * fw)
        outH = (h * fw + w / 2) / w;  // the frame's width limits it
    else
        outW = (w * fh + h / 2) / h;
    if (outW > 2 * w || outH > 2 * h) {
        outW = 2 * w;
        outH = 2 * h;
    }
    fit.width = int(std::max(1LL, outW));
    fit.height = int(std::max(1LL, outH));
    fit.x = (frameWidth - fit.width) / 2;
    fit.y = (frameHeight - fit.height) / 2;
    return fit;
}

void ScalePicture(const std::uint8_t* pixels, int width, int height, int bytesPerPixel,
                  int outWidth, int outHeight, std::vector<std::uint8_t>& rgb) {
    rgb.assign(std::size_t(std::max(outWidth, 0)) * std::size_t(std::max(outHeight, 0)) * 3, 0);
    if (pixels == nullptr || width <= 0 || height <= 0 || bytesPerPixel < 3 || rgb.empty()) return;
    const std::vector<Span> columns = Spans(width, outWidth), rows = Spans(height, outHeight);
    const std::size_t values = std::size_t(outWidth) * 3;
    std::vector<std::uint64_t> rowSums(values), sums(values);
    // Every output value is a mean over weights that add up to width x height.
    const double unit = 1.0 / (double(width) * double(height));
    const std::size_t rowBytes = std::size_t(width) * std::size_t(bytesPerPixel);
    int summed = -1;  // the source row in rowSums: shared by neighbouring output rows
    std::uint8_t* out = rgb.data();
    for (const Span& s : rows) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int j = s.first; j <= s.last; ++j) {
            const std::uint64_t weight = j == s.first  ? s.firstWeight
                                         : j == s.last ? s.lastWeight
                                                       : std::uint64_t(outHeight);
            if (j != summed) {
                SumRow(pixels + std::size_t(j) * rowBytes, bytesPerPixel, columns,
                       std::uint64_t(outWidth), rowSums.data());
                summed = j;
            }
            for (std::size_t i = 0; i < values; ++i) sums[i] += weight * rowSums[i];
        }
        for (std::size_t i = 0; i < values; ++i)
            *out++ = std::uint8_t(double(sums[i]) * unit + 0.5);
    }
}

void DrawFittedPicture(const std::uint8_t* pixels, int width, int height, int bytesPerPixel,
                       int loadCount) {
    FittedPicture& f = Fitted;
    if (f.pixels != pixels || f.width != width || f.height != height ||
        f.bytesPerPixel != bytesPerPixel || f.loadCount != loadCount ||
        f.frameWidth != AppState.frameWidth || f.frameHeight != AppState.frameHeight) {
        f.pixels = pixels;
        f.width = width;
        f.height = height;
        f.bytesPerPixel = bytesPerPixel;
        f.loadCount = loadCount;
        f.frameWidth = AppState.frameWidth;
        f.frameHeight = AppState.frameHeight;
        f.rect = FitPicture(width, height, f.frameWidth, f.frameHeight);
        ScalePicture(pixels, width, height, bytesPerPixel, f.rect.width, f.rect.height, f.rgb);
    }
    const std::uint8_t* p = f.rgb.data();
    for (int y = 0; y < f.rect.height; ++y)
        for (int x = 0; x < f.rect.width; ++x, p += 3)
            PutPixel(f.rect.x + x, f.rect.y + y, p[0], p[1], p[2]);
}
