// The thumbnail cache's PNG reader on hostile bytes: a thumbnail is a file any program may have
// written and a full disk may have cut short. It refuses them, leaving its record untouched, or
// gives a picture within a thumbnail's bounds, every pixel opaque, that the writer writes again
// and the reader reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

// A larger picture is checked as read; writing it again only spends the run's time.
constexpr int ROUND_TRIP_SIDE = 256;

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::Thumbnail t;
    t.width = t.height = -7;
    std::string why;
    if (!platform::DecodeThumbnailPng(data, size, t, why)) {
        Require(t.width == -7 && t.height == -7 && t.rgba.empty() && t.text.empty());
        Require(!why.empty());
        return 0;
    }
    Require(t.width >= 1 && t.height >= 1);
    Require(t.width <= platform::THUMBNAIL_MAX_SIDE && t.height <= platform::THUMBNAIL_MAX_SIDE);
    Require(t.rgba.size() == std::size_t(t.width) * std::size_t(t.height) * 4);
    for (std::size_t i = 3; i < t.rgba.size(); i += 4) Require(t.rgba[i] == 255);
    if (t.width > ROUND_TRIP_SIDE || t.height > ROUND_TRIP_SIDE) return 0;

    // Text is written only where its keys are ones a PNG may carry; the pixels always.
    std::vector<std::uint8_t> png;
    if (platform::EncodeThumbnailPng(t, png)) {
        platform::Thumbnail back;
        Require(platform::DecodeThumbnailPng(png.data(), png.size(), back, why));
    }
    t.text.clear();
    Require(platform::EncodeThumbnailPng(t, png));
    platform::Thumbnail back;
    Require(platform::DecodeThumbnailPng(png.data(), png.size(), back, why));
    Require(back.width == t.width && back.height == t.height && back.rgba == t.rgba);
    return 0;
}
