// Decoded rows laid out upright, whatever way the camera stored them. Every decoder of the
// platform layer writes through it, so a photograph is turned once, while its rows are still
// in the cache, straight into the caller's block: no second copy of the picture.
#include <algorithm>
#include <cstring>

#include "platform/picture_codecs.h"

namespace platform {

namespace {

// Orientations by what they do to the stored picture (EXIF values): 2 mirrors left to
// right, 3 turns half round, 4 mirrors top to bottom; 5 to 8 swap rows and columns.
bool MirroredRows(int o) {
    return o == 2 || o == 3;
}
bool RowsFromBottom(int o) {
    return o == 3 || o == 4;
}

// A row's pixels as whole words: one compare a pixel, which the compiler turns into vector code.
void ApplyKey(std::uint8_t* p, int width, const std::uint8_t key[3]) {
    const std::uint8_t keyBytes[4] = {key[0], key[1], key[2], 0};
    const std::uint8_t colourBytes[4] = {255, 255, 255, 0}, alphaBytes[4] = {0, 0, 0, 255};
    std::uint32_t keyWord, colour, alpha;
    std::memcpy(&keyWord, keyBytes, 4);
    std::memcpy(&colour, colourBytes, 4);
    std::memcpy(&alpha, alphaBytes, 4);
    for (int x = 0; x < width; ++x) {
        std::uint32_t v;
        std::memcpy(&v, p + 4 * x, 4);
        std::uint32_t other = 0u - std::uint32_t((v & colour) != keyWord);  // all ones or none
        v = (v & colour) | (alpha & other);
        std::memcpy(p + 4 * x, &v, 4);
    }
}

void ReversePixels(std::uint8_t* p, int width) {
    auto* pixels = reinterpret_cast<std::uint32_t*>(p);
    if (reinterpret_cast<std::uintptr_t>(p) % alignof(std::uint32_t) == 0) {
        std::reverse(pixels, pixels + width);
        return;
    }
    for (int a = 0, b = width - 1; a < b; ++a, --b) {
        std::uint8_t t[4];
        std::memcpy(t, p + 4 * a, 4);
        std::memcpy(p + 4 * a, p + 4 * b, 4);
        std::memcpy(p + 4 * b, t, 4);
    }
}

}  // namespace

void UprightRows::Start(const DecodeRequest& request, std::uint8_t* block, int width, int height,
                        int orientation) {
    request_ = &request;
    block_ = block;
    width_ = width;
    height_ = height;
    orientation_ = orientation >= 1 && orientation <= 8 ? orientation : 1;
    turned_ = orientation_ >= 5;
    if (turned_) strip_.resize(std::size_t(STRIP_ROWS) * std::size_t(width) * 4);
}

std::uint8_t* UprightRows::Row(int fromTop) const {
    std::size_t row = std::size_t(UprightHeight() - 1 - fromTop);
    return block_ + row * std::size_t(UprightWidth()) * 4;
}

void UprightRows::Rows(int first, int count, std::uint8_t** rows) {
    for (int k = 0; k < count; ++k) {
        int stored = first + k;
        if (turned_)
            rows[k] = strip_.data() + std::size_t(k) * std::size_t(width_) * 4;
        else
            rows[k] = Row(RowsFromBottom(orientation_) ? height_ - 1 - stored : stored);
    }
}

void UprightRows::Done(int first, int count) {
    std::uint8_t* rows[STRIP_ROWS];
    Rows(first, count, rows);
    bool key = request_->colourKeyOn && request_->order == PixelOrder::RGBA;
    for (int k = 0; k < count; ++k) {
        if (key) ApplyKey(rows[k], width_, request_->keyColour);
        if (MirroredRows(orientation_)) ReversePixels(rows[k], width_);
    }
    if (!turned_) return;
    // Stored column x becomes upright row x (5, 6) or width - 1 - x (7, 8); stored row y
    // becomes upright column y (5, 8) or height - 1 - y (6, 7). Each stored column of the
    // strip lands as one run of neighbouring pixels.
    bool columnsFromRight = orientation_ == 6 || orientation_ == 7;
    bool rowsFromBottom = orientation_ == 7 || orientation_ == 8;
    std::size_t stride = std::size_t(width_) * 4;
    for (int x = 0; x < width_; ++x) {
        std::uint8_t* target = Row(rowsFromBottom ? width_ - 1 - x : x);
        const std::uint8_t* source = strip_.data() + std::size_t(x) * 4;
        for (int k = 0; k < count; ++k, source += stride) {
            int column = columnsFromRight ? height_ - 1 - (first + k) : first + k;
            std::memcpy(target + std::size_t(column) * 4, source, 4);
        }
    }
}

}  // namespace platform
