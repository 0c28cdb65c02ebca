// The picture slot table and the BMP reader that fills it at start-up. The reader
// honours the header's pixel-data offset and the 4-byte row padding, so a picture of
// any width loads upright; headers it cannot honour are refused before the slot changes.
#include "gamedata/image_slots.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#include "gamedata/engine_settings.h"
#include "gamedata/table_memory.h"

ImageSlot* ImageSlots = nullptr;

namespace {

// Entries of the current table: SLOT_COUNT when it was made. A setting changed afterwards
// (before a second start-up) must not make release or loading step past the table.
std::int32_t tableSlots = 0;

constexpr int HEADER_BYTES = 54;
// Far above any picture of the game; a header claiming more is taken as malformed.
constexpr std::int32_t MAX_SIDE = 32768;
constexpr long long MAX_PIXEL_BYTES = 1LL << 30;

std::uint32_t U32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
std::uint16_t U16(const unsigned char* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}

struct Header {
    std::int32_t width = 0, height = 0;
    std::uint32_t pixelOffset = 0;
};

bool ParseHeader(const unsigned char* h, Header& out) {
    if (h[0] != 'B' || h[1] != 'M') return false;
    if (U16(h + 28) != 24) return false;  // 24 bits per pixel only
    if (U32(h + 30) != 0) return false;   // uncompressed only
    out.pixelOffset = U32(h + 10);
    out.width = std::int32_t(U32(h + 18));
    out.height = std::int32_t(U32(h + 22));  // negative would mean rows stored top-down
    if (out.pixelOffset < HEADER_BYTES) return false;
    if (out.width <= 0 || out.height <= 0 || out.width > MAX_SIDE || out.height > MAX_SIDE)
        return false;
    return 3LL * out.width * out.height <= MAX_PIXEL_BYTES;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Length of the open file, which is left at its start; -1 if it cannot be told.
long long FileBytes(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    long long bytes = std::ftell(file);
    return std::fseek(file, 0, SEEK_SET) == 0 ? bytes : -1;
}

// Bytes the rows take in the file; the last row's padding may be missing (see ReadRows).
long long StoredPixelBytes(int width, int height) {
    long long rowBytes = 3LL * width;
    long long padded = (rowBytes + 3) / 4 * 4;
    return padded * (height - 1) + rowBytes;
}

// Reads the padded rows into `pixels` without their padding; false if the file ends early.
bool ReadRows(std::FILE* file, std::uint8_t* pixels, int width, int height) {
    std::size_t rowBytes = std::size_t(width) * 3;
    std::size_t padding = (4 - rowBytes % 4) % 4;
    if (padding == 0) return std::fread(pixels, 1, rowBytes * height, file) == rowBytes * height;
    unsigned char skip[3];
    for (int row = 0; row < height; ++row) {
        if (std::fread(pixels + rowBytes * row, 1, rowBytes, file) != rowBytes) return false;
        // The last row's padding may be missing from files written by lax encoders.
        if (std::fread(skip, 1, padding, file) != padding && row + 1 < height) return false;
    }
    return true;
}

}  // namespace

void CreateImageSlots() {
    ImageSlots = CreateTableOf<ImageSlot>("picture slots", SLOT_COUNT);
    tableSlots = SLOT_COUNT;
}

void ReleaseImageSlots() {
    if (ImageSlots == nullptr) return;
    for (std::int32_t i = 0; i < tableSlots; ++i) std::free(ImageSlots[i].pixels);
    std::free(ImageSlots);
    ImageSlots = nullptr;
    tableSlots = 0;
}

int ImageSlotCount() {
    return ImageSlots != nullptr ? tableSlots : 0;
}

void ResizeImageSlots(int count) {
    if (count < 0) return;
    ReleaseImageSlots();
    SLOT_COUNT = count;
    CreateImageSlots();
}

int LoadedSlotCount() {
    int count = 0;
    for (std::int32_t i = 0; ImageSlots != nullptr && i < tableSlots; ++i)
        count += ImageSlots[i].pixels != nullptr;
    return count;
}

bool LoadBitmap(const char* path, int slot) {
    if (ImageSlots == nullptr || slot < 0 || slot >= tableSlots) return false;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
    if (!file) return false;
    unsigned char raw[HEADER_BYTES];
    Header header;
    if (std::fread(raw, 1, HEADER_BYTES, file.get()) != HEADER_BYTES) return false;
    if (!ParseHeader(raw, header)) return false;
    long long fileBytes = FileBytes(file.get());
    if (fileBytes < 0) return false;

    ImageSlot& target = ImageSlots[slot];
    target.width = header.width;
    target.height = header.height;
    target.channels = 3;
    std::free(target.pixels);
    target.pixels = nullptr;
    // A header may claim a gigabyte in a file of a few bytes: its memory is asked for only
    // once the file is known to hold the rows. Checked before the seek, whose offset is a
    // 32-bit long on some systems: a hostile offset fails the same way everywhere.
    if (header.pixelOffset + StoredPixelBytes(header.width, header.height) > fileBytes ||
        std::fseek(file.get(), long(header.pixelOffset), SEEK_SET) != 0)
        return false;
    std::size_t bytes = std::size_t(header.width) * std::size_t(header.height) * 3;
    target.pixels = static_cast<std::uint8_t*>(std::malloc(bytes));
    if (target.pixels == nullptr ||
        !ReadRows(file.get(), target.pixels, header.width, header.height)) {
        std::free(target.pixels);
        target.pixels = nullptr;
        return false;
    }
    for (std::size_t i = 0; i < bytes; i += 3) std::swap(target.pixels[i], target.pixels[i + 2]);
    return true;
}
