// The JPEG path of the browser on hostile bytes: the decoder streamed from a file as the full
// view asks (own pixels), as the thumbnail page asks (a reduced size into a caller's block,
// incomplete files refused), and RGBA with a colour key; then the marker readers the decoder
// relies on: the camera orientation and the scan for the end marker, which must not depend
// on how the bytes are cut into pieces.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/picture_codecs.h"

namespace {

// Every path of the decoder is reached within this many pixels (a picture 8 rows high is still
// 8192 wide, enough for the smallest reduced size); a larger one only spends the run's time
// decoding data that ran out.
constexpr long long MAX_PIXELS = 1 << 16;

void Require(bool condition) {
    if (!condition) std::abort();
}

void DecodeFrom(const std::uint8_t* data, std::size_t size,
                const platform::DecodeRequest& request) {
    std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (file == nullptr) return;
    platform::Picture picture;
    picture.width = picture.height = -7;
    bool ok = platform::DecodeJpeg(file, request, picture);
    std::fclose(file);
    if (!ok) {
        Require(picture.width == -7 && picture.height == -7 && picture.bgrx.empty());
        return;
    }
    Require(picture.width > 0 && picture.height > 0);
    Require(picture.width <= picture.fullWidth && picture.height <= picture.fullHeight);
    Require(1LL * picture.fullWidth * picture.fullHeight <= request.maxPixels);
    std::size_t bytes = std::size_t(picture.width) * picture.height * 4;
    if (request.block == nullptr)
        Require(picture.bgrx.size() == bytes);
    else
        Require(bytes <= request.blockBytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    platform::DecodeRequest full;
    full.maxPixels = MAX_PIXELS;
    DecodeFrom(data, size, full);

    // Exactly the block's size, so that a write past it is a sanitizer report.
    std::vector<std::uint8_t> block(96 * 96 * 4);
    platform::DecodeRequest thumbnail = full;
    thumbnail.minLongSide = 90;
    thumbnail.block = block.data();
    thumbnail.blockBytes = block.size();
    thumbnail.refuseIncomplete = true;
    DecodeFrom(data, size, thumbnail);

    platform::DecodeRequest keyed = thumbnail;
    keyed.minLongSide = 1;
    keyed.refuseIncomplete = false;
    keyed.order = platform::PixelOrder::RGBA;
    keyed.colourKeyOn = true;
    DecodeFrom(data, size, keyed);

    int orientation = platform::JpegOrientation(data, size);
    Require(orientation >= 1 && orientation <= 8);

    platform::JpegEndScan whole, pieces;
    whole.Feed(data, size);
    for (std::size_t at = 0; at < size; at += 1 + at % 7) {
        std::size_t piece = std::min<std::size_t>(1 + at % 7, size - at);
        pieces.Feed(data + at, piece);
    }
    Require(whole.Complete() == pieces.Complete() && whole.Failed() == pieces.Failed());
    return 0;
}
