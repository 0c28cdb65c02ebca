// The numbered picture slots of the game and their loaders.
#pragma once

#include <cstdint>

struct ImageSlot {
    std::uint8_t* pixels = nullptr;  // width * height * channels bytes, bottom row first
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t channels = 0;
};

extern ImageSlot* ImageSlots;  // SLOT_COUNT entries once InitGameData has run
