// The overworld's height map: midpoint displacement raises it, the classifier turns heights
// into overworld tiles. The overworld generator drives both.
#include <algorithm>
#include <cstdlib>

#include "gamedata/engine_settings.h"
#include "shell/random.h"
#include "world/world_generation.h"
#include "world/world_tables.h"

namespace {

bool OnHeightMap(int x, int y) {
    return x >= 0 && x <= MAP_WIDTH && y >= 0 && y <= MAP_WIDTH;
}

std::uint8_t& HeightCell(int x, int y) {
    return HeightMap[x + static_cast<long long>(y) * MAP_WIDTH];
}

// Heights are bytes and 0 means unset: every stored height lies in 1..255, a NaN gives 1.
std::uint8_t StoredHeight(float value, float maxHeight) {
    float top = std::min(maxHeight, 255.0f);
    if (value > top) value = top;
    if (!(value >= 1.0f)) value = 1.0f;
    return std::uint8_t(value);
}

}  // namespace

int HeightAt(int x, int y) {
    return HeightMap != nullptr && OnHeightMap(x, y) ? HeightCell(x, y) : 0;
}

bool DisplaceMidpoint(int xa, int ya, int xm, int ym, int xb, int yb, float roughness,
                      float maxHeight) {
    if (HeightMap == nullptr || !OnHeightMap(xa, ya) || !OnHeightMap(xm, ym) ||
        !OnHeightMap(xb, yb))
        return false;
    if (HeightCell(xm, ym) != 0) return false;
    float jitter = float(Random() / 32767.0 * 1.0 - 0.5);
    int span = std::abs(xa - xb) + std::abs(ya - yb);
    float value = (HeightCell(xa, ya) + HeightCell(xb, yb)) / 2 + span * jitter * roughness;
    HeightCell(xm, ym) = StoredHeight(value, maxHeight);
    return true;
}

bool GenerateHeightMap(int x0, int y0, int x1, int y1, float roughness, float maxHeight) {
    if (HeightMap == nullptr || !OnHeightMap(x0, y0) || !OnHeightMap(x1, y1)) return false;
    int mx = (x0 + x1) / 2, my = (y0 + y1) / 2;
    DisplaceMidpoint(x0, y0, mx, y0, x1, y0, roughness, maxHeight);
    DisplaceMidpoint(x1, y0, x1, my, x1, y1, roughness, maxHeight);
    DisplaceMidpoint(x0, y1, mx, y1, x1, y1, roughness, maxHeight);
    DisplaceMidpoint(x0, y0, x0, my, x0, y1, roughness, maxHeight);
    if (HeightCell(mx, my) == 0) {
        float sum = float(HeightCell(x0, y0)) + HeightCell(x1, y0) + HeightCell(x0, y1) +
                    HeightCell(x1, y1);
        HeightCell(mx, my) = std::uint8_t(sum / 4.0f);
    }
    if (x1 - x0 < 2 && y1 - y0 < 2) return false;
    GenerateHeightMap(x0, y0, mx, my, roughness, maxHeight);
    GenerateHeightMap(mx, y0, x1, my, roughness, maxHeight);
    GenerateHeightMap(mx, my, x1, y1, roughness, maxHeight);
    GenerateHeightMap(x0, my, mx, y1, roughness, maxHeight);
    return true;
}

void ClassifyOverworldCell(int x, int y, int level) {
    if (MapGrid == nullptr || HeightMap == nullptr || level < 0 || level >= LEVEL_COUNT) return;
    if (x < 1 || x > MAP_WIDTH - 2 || y < 1 || y > MAP_WIDTH - 2) return;
    int h = HeightCell(x, y);
    std::uint8_t tile = h <= 3 ? 10 : h <= 10 ? 11 : h <= 15 ? 18 : h <= 18 ? 19 : 20;
    MapGrid[CellIndex(x, y, level)] = tile;
}
