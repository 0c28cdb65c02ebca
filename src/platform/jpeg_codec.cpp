// JPEG decoding and encoding through TurboJPEG. Decoding can stop at a reduced size
// (the library's scaled decoding), which the thumbnail page uses; encoding serves the
// tests and benchmarks that need sample photographs.
#include <turbojpeg.h>

#include <cstdio>
#include <vector>

#include "platform/picture_codecs.h"

namespace platform {

namespace {

// Owns a TurboJPEG handle for the span of one call.
class Handle {
  public:
    explicit Handle(tjhandle h) : h_(h) {}
    ~Handle() {
        if (h_) tjDestroy(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    tjhandle get() const { return h_; }

  private:
    tjhandle h_;
};

// The smallest scaling factor not above 1 whose larger side still reaches `minLongSide`.
tjscalingfactor ChooseScale(int width, int height, int minLongSide) {
    tjscalingfactor best{1, 1};
    if (minLongSide <= 0) return best;
    int count = 0;
    tjscalingfactor* factors = tjGetScalingFactors(&count);
    long long bestSide = width > height ? width : height;
    for (int i = 0; factors != nullptr && i < count; ++i) {
        tjscalingfactor f = factors[i];
        if (f.num > f.denom) continue;
        long long side = TJSCALED(width > height ? width : height, f);
        if (side >= minLongSide && side < bestSide) {
            best = f;
            bestSide = side;
        }
    }
    return best;
}

}  // namespace

bool DecodeJpeg(const std::uint8_t* data, std::size_t size, long long maxPixels, int minLongSide,
                Picture& out) {
    Handle handle(tjInitDecompress());
    if (handle.get() == nullptr || size > 0xFFFFFFFFul) return false;
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(handle.get(), data, static_cast<unsigned long>(size), &width, &height,
                            &subsampling, &colourspace) != 0)
        return false;
    if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > maxPixels)
        return false;
    tjscalingfactor scale = ChooseScale(width, height, minLongSide);
    int w = TJSCALED(width, scale), h = TJSCALED(height, scale);
    std::vector<std::uint8_t> pixels(std::size_t(w) * std::size_t(h) * 4);
    int flags = TJFLAG_BOTTOMUP;
    if (minLongSide > 0) flags |= TJFLAG_FASTDCT;
    // A warning (a file cut short, corrupt data) also fails: the rest of such a picture
    // would be filled with grey, which the user would take for the picture itself.
    if (tjDecompress2(handle.get(), data, static_cast<unsigned long>(size), pixels.data(), w, 0, h,
                      TJPF_BGRX, flags) != 0)
        return false;
    out.width = w;
    out.height = h;
    out.fullWidth = width;
    out.fullHeight = height;
    out.bgrx = std::move(pixels);
    return true;
}

bool WriteJpegFile(const char* path, const Picture& picture, int quality) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.bgrx.size() < std::size_t(picture.width) * std::size_t(picture.height) * 4)
        return false;
    Handle handle(tjInitCompress());
    if (handle.get() == nullptr) return false;
    unsigned char* jpeg = nullptr;
    unsigned long jpegSize = 0;
    bool ok = tjCompress2(handle.get(), picture.bgrx.data(), picture.width, 0, picture.height,
                          TJPF_BGRX, &jpeg, &jpegSize, TJSAMP_420, quality, TJFLAG_BOTTOMUP) == 0;
    if (ok) {
        std::FILE* file = std::fopen(path, "wb");
        ok = file != nullptr && std::fwrite(jpeg, 1, jpegSize, file) == jpegSize;
        if (file != nullptr) ok = std::fclose(file) == 0 && ok;
    }
    tjFree(jpeg);
    return ok;
}

}  // namespace platform
