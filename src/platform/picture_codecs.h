// The picture decoders behind DecodePictureFile, each working on a file already in memory.
// Private to the platform layer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

namespace platform {

// BMP: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or with colour masks, rows
// stored either way up. Compressed (RLE) files are refused.
bool DecodeBmp(const std::uint8_t* data, std::size_t size, long long maxPixels, Picture& out);

// JPEG through TurboJPEG. `minLongSide` 0 asks for the full size; otherwise the smallest
// scaled size whose larger side reaches it.
bool DecodeJpeg(const std::uint8_t* data, std::size_t size, long long maxPixels, int minLongSide,
                Picture& out);

}  // namespace platform
