// Our own BMP decoder, for the variants in real use: 1, 4, 8, 16, 24 and 32 bits per pixel,
// uncompressed or with colour masks, rows stored bottom-up or top-down. Every header value
// is checked against the file's size before a byte is read, so a lying header fails before a
// pixel of the destination is written.
#include <bit>
#include <cstring>

#include "platform/picture_codecs.h"

namespace platform {

namespace {

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_BITFIELDS = 3;
constexpr std::uint32_t BI_ALPHABITFIELDS = 6;
constexpr std::size_t FILE_HEADER_BYTES = 14;

std::uint32_t U16(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8;
}
std::uint32_t U32(const std::uint8_t* p) {
    return U16(p) | U16(p + 2) << 16;
}

// One colour channel given by a mask, widened or narrowed to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t top = 0;  // largest value of the channel after the shift

    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (mask == 0) return;
        shift = std::countr_zero(mask);
        top = mask >> shift;
    }
    std::uint8_t Of(std::uint32_t pixel) const {
        if (top == 0) return 0;
        std::uint64_t value = (pixel & mask) >> shift;
        if (value > top) value = top;  // a mask with holes: keep within range
        return std::uint8_t((value * 255 + top / 2) / top);
    }
};

struct Header {
    long long width = 0, height = 0;  // height negative for top-down rows
    int bitsPerPixel = 0;
    std::uint32_t compression = BI_RGB;
    std::size_t paletteAt = 0, paletteEntryBytes = 4, paletteCount = 0;
    Channel red, green, blue;
};

bool ReadHeader(const std::uint8_t* data, std::size_t size, Header& h) {
    if (size < FILE_HEADER_BYTES + 4) return false;
    std::size_t infoBytes = U32(data + FILE_HEADER_BYTES);
    const std::uint8_t* info = data + FILE_HEADER_BYTES;
    if (infoBytes != 12 && (infoBytes < 40 || infoBytes > 124)) return false;
    if (size < FILE_HEADER_BYTES + infoBytes) return false;
    std::size_t masksAt = FILE_HEADER_BYTES + infoBytes;
    if (infoBytes == 12) {
        h.width = U16(info + 4);
        h.height = U16(info + 6);
        h.bitsPerPixel = int(U16(info + 10));
        h.paletteEntryBytes = 3;
    } else {
        h.width = std::int32_t(U32(info + 4));
        h.height = std::int32_t(U32(info + 8));
        h.bitsPerPixel = int(U16(info + 14));
        h.compression = U32(info + 16);
        h.paletteCount = U32(info + 32);
    }
    h.paletteAt = masksAt;
    switch (h.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
        if (h.compression != BI_RGB) return false;  // RLE is refused
        if (h.paletteCount == 0 || h.paletteCount > (1u << h.bitsPerPixel))
            h.paletteCount = std::size_t(1) << h.bitsPerPixel;
        if (h.paletteAt + h.paletteCount * h.paletteEntryBytes > size) return false;
        break;
    case 16:
    case 32:
        if (h.compression == BI_RGB) {
            if (h.bitsPerPixel == 16) {
                h.red = Channel(0x7C00), h.green = Channel(0x03E0), h.blue = Channel(0x001F);
            } else {
                h.red = Channel(0xFF0000), h.green = Channel(0xFF00), h.blue = Channel(0xFF);
            }
        } else if (h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS) {
            // Version 1 headers keep the masks after themselves, later ones inside.
            const std::uint8_t* masks = info + 40;
            if (infoBytes == 40) {
                if (masksAt + 12 > size) return false;
                masks = data + masksAt;
            } else if (infoBytes < 52) {
                return false;
            }
            h.red = Channel(U32(masks)), h.green = Channel(U32(masks + 4));
            h.blue = Channel(U32(masks + 8));
        } else {
            return false;
        }
        break;
    case 24:
        if (h.compression != BI_RGB) return false;
        break;
    default:
        return false;
    }
    return h.width > 0 && h.height != 0;
}

}  // namespace

bool DecodeBmp(const std::uint8_t* data, std::size_t size, const DecodeRequest& request,
               Picture& out) {
    Header h;
    if (!ReadHeader(data, size, h)) return false;
    long long rows = h.height < 0 ? -h.height : h.height;
    if (h.width * rows > request.maxPixels) return false;
    long long stride = (h.width * h.bitsPerPixel + 31) / 32 * 4;
    long long offset = U32(data + 10);
    if (offset < static_cast<long long>(FILE_HEADER_BYTES) + 12 ||
        offset + stride * rows > static_cast<long long>(size))
        return false;

    std::size_t bytes = std::size_t(h.width * rows) * 4;
    std::vector<std::uint8_t> owned;
    std::uint8_t* block = request.block;
    if (block == nullptr) {
        owned.resize(bytes);
        block = owned.data();
    } else if (bytes > request.blockBytes) {
        return false;
    }
    DecodeRequest form = request;
    if (request.block == nullptr) form.order = PixelOrder::BGRX, form.colourKeyOn = false;
    const int red = form.order == PixelOrder::RGBA ? 0 : 2, blue = 2 - red;
    UprightRows upright;
    upright.Start(form, block, int(h.width), int(rows), 1);
    const std::uint8_t* palette = data + h.paletteAt;
    for (long long top = 0; top < rows; ++top) {
        // Row `top` counted from the picture's top, wherever the file keeps it.
        const std::uint8_t* row = data + offset + (h.height > 0 ? rows - 1 - top : top) * stride;
        std::uint8_t* o = nullptr;
        upright.Rows(int(top), 1, &o);
        for (long long x = 0; x < h.width; ++x, o += 4) {
            std::uint8_t b = 0, g = 0, r = 0;
            if (h.bitsPerPixel <= 8) {
                int perByte = 8 / h.bitsPerPixel;
                int shift = 8 - h.bitsPerPixel * (1 + int(x % perByte));
                std::size_t index = (row[x / perByte] >> shift) & ((1u << h.bitsPerPixel) - 1);
                if (index < h.paletteCount) {
                    const std::uint8_t* entry = palette + index * h.paletteEntryBytes;
                    b = entry[0], g = entry[1], r = entry[2];
                }
            } else if (h.bitsPerPixel == 24) {
                b = row[3 * x], g = row[3 * x + 1], r = row[3 * x + 2];
            } else {
                std::uint32_t value = h.bitsPerPixel == 16 ? U16(row + 2 * x) : U32(row + 4 * x);
                b = h.blue.Of(value), g = h.green.Of(value), r = h.red.Of(value);
            }
            o[red] = r, o[1] = g, o[blue] = b, o[3] = 255;
        }
        upright.Done(int(top), 1);
    }
    out.width = out.fullWidth = int(h.width);
    out.height = out.fullHeight = int(rows);
    if (request.block == nullptr) out.bgrx = std::move(owned);
    return true;
}

}  // namespace platform
