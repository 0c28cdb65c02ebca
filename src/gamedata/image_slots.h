// The numbered picture slots of the game: a slot number is a picture's identity
// everywhere (map cells, unit sprites and item records hold slot numbers).
#pragma once

#include <cstdint>

struct ImageSlot {
    std::uint8_t* pixels = nullptr;  // width * height * channels bytes, bottom row first
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t channels = 0;
};

extern ImageSlot* ImageSlots;  // SLOT_COUNT entries once InitGameData has run

// SLOT_COUNT empty slots. Whatever replaces the table makes the new one here, so that
// release and loading know its size even if SLOT_COUNT changes afterwards.
void CreateImageSlots();
void ReleaseImageSlots();  // every slot's pixels, then the table
int ImageSlotCount();      // entries of the current table, 0 without one
// A fresh table of `count` empty slots; SLOT_COUNT becomes count. The old table's pictures
// are released with it, since nothing else refers to them. A negative count changes nothing.
void ResizeImageSlots(int count);
// The slots that hold pixels: how many pictures start-up found.
int LoadedSlotCount();

// Reads a 24-bit uncompressed BMP into `slot` as R, G, B bytes without row padding.
// The file is only read. A malformed or unsupported header (or a slot outside the table)
// leaves the slot untouched; a file that ends inside the pixel data leaves the slot with
// the header's size and no pixels. True on success.
bool LoadBitmap(const char* path, int slot);
