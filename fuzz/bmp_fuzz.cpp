// The BMP decoder on hostile bytes, asked three ways: into its own pixels, into a caller's
// block too small for most pictures (RGBA with a colour key), and with a pixel limit the
// header must be checked against. A refused file leaves the picture as it was.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/picture_codecs.h"

namespace {

constexpr long long MAX_PIXELS = 1 << 20;

void Require(bool condition) {
    if (!condition) std::abort();
}

void DecodeInto(const std::uint8_t* data, std::size_t size,
                const platform::DecodeRequest& request) {
    platform::Picture picture;
    picture.width = picture.height = -7;
    bool ok = platform::DecodeBmp(data, size, request, picture);
    if (!ok) {
        Require(picture.width == -7 && picture.height == -7 && picture.bgrx.empty());
        return;
    }
    Require(picture.width > 0 && picture.height > 0);
    Require(1LL * picture.width * picture.height <= request.maxPixels);
    if (request.block == nullptr)
        Require(picture.bgrx.size() == std::size_t(picture.width) * picture.height * 4);
    else
        Require(std::size_t(picture.width) * picture.height * 4 <= request.blockBytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::DecodeRequest own;
    own.maxPixels = MAX_PIXELS;
    DecodeInto(data, size, own);

    // Exactly the block's size, so that a write past it is a sanitizer report.
    std::vector<std::uint8_t> block(64 * 48 * 4);
    platform::DecodeRequest into = own;
    into.block = block.data();
    into.blockBytes = block.size();
    into.order = platform::PixelOrder::RGBA;
    into.colourKeyOn = true;
    into.keyColour[0] = 255, into.keyColour[2] = 255;
    DecodeInto(data, size, into);

    platform::DecodeRequest small = own;
    small.maxPixels = 100;
    DecodeInto(data, size, small);
    return 0;
}
