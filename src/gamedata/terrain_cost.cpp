// The terrain cost table, filled at start-up and read by path finding.
#include "gamedata/terrain_cost.h"

#include <algorithm>
#include <iterator>

float TerrainCost[256];

namespace {

struct Cost {
    int code;
    float cost;
};

// Overworld terrain codes (their picture slots), the dungeon wall and a few dungeon codes.
constexpr Cost COSTS[] = {
    {10, 30}, {11, 332},  {12, 18},   {13, 42},   {14, 16},   {15, 50},   {16, 28},
    {17, 30}, {18, 374},  {19, 548},  {20, 208},  {21, 15},   {22, 1},    {61, 3000},
    {82, 20}, {180, 180}, {181, 180}, {182, 180}, {183, 180}, {184, 180},
};

}  // namespace

void FillTerrainCost() {
    // Every other code, the dungeon floor and features included, costs the default 3.
    std::fill(std::begin(TerrainCost), std::end(TerrainCost), 3.0f);
    for (const Cost& c : COSTS) TerrainCost[c.code] = c.cost;
}
