// The overworld generator: a fresh height map raised by midpoint displacement from four
// seeded corners, then turned into the tiles of level 0. Console commands and tools call it
// with a seed to get the same land again.
#include <cstring>

#include "gamedata/engine_settings.h"
#include "shell/random.h"
#include "world/world_generation.h"
#include "world/world_tables.h"

namespace {

// Heights run 1..OVERWORLD_MAX_HEIGHT; plain, forest, hills and the mountains split that
// range at 3, 10, 15 and 18. The roughness scales the jitter by an edge's length.
constexpr float OVERWORLD_ROUGHNESS = 0.2f;
constexpr float OVERWORLD_MAX_HEIGHT = 26.0f;
constexpr int CORNER_LOWEST = 2, CORNER_HIGHEST = 16;

}  // namespace

void GenerateOverworld(unsigned seed) {
    if (HeightMap == nullptr || MapGrid == nullptr) return;
    const int w = MAP_WIDTH;
    SeedRandom(seed);
    std::memset(HeightMap, 0, std::size_t(w + 1) * std::size_t(w + 1));
    const int corners[4][2] = {{0, 0}, {w, 0}, {0, w}, {w, w}};
    for (const auto& c : corners)
        HeightMap[c[0] + static_cast<long long>(c[1]) * w] =
            std::uint8_t(CORNER_LOWEST + RandomBelow(CORNER_HIGHEST - CORNER_LOWEST + 1));
    GenerateHeightMap(0, 0, w, w, OVERWORLD_ROUGHNESS, OVERWORLD_MAX_HEIGHT);
    for (int y = 1; y <= w - 2; ++y)
        for (int x = 1; x <= w - 2; ++x) ClassifyOverworldCell(x, y, 0);
}
