// The world's grids and unit table: created zeroed at start-up at the sizes the settings
// give, released at shutdown; and the uniform-rectangle check the dungeon builder uses.
#include "world/world_tables.h"

#include <cstdlib>

#include "gamedata/table_memory.h"
#include "world/world_generation.h"

UnitRecord* UnitTable = nullptr;
std::uint8_t* MapGrid = nullptr;
std::uint8_t* MarkGrid = nullptr;
std::uint8_t* HeightMap = nullptr;
std::int32_t nextUnit = 0;

void CreateGrids() {
    long long side = MAP_WIDTH;
    // Zeroed like the others although nothing promises it: a height of 0 means "unset" to
    // the midpoint displacement, so stray bytes would be read as heights.
    HeightMap = CreateTableOf<std::uint8_t>("height map", (side + 1) * (side + 1));
    long long cells = side * side * LEVEL_COUNT;
    MapGrid = CreateTableOf<std::uint8_t>("map grid", cells);
    MarkGrid = CreateTableOf<std::uint8_t>("mark grid", cells);
}

void CreateUnitTable() {
    UnitTable = CreateTableOf<UnitRecord>("unit table", UNIT_CAPACITY);
}

void ReleaseWorldTables() {
    std::free(UnitTable);
    std::free(MapGrid);
    std::free(MarkGrid);
    std::free(HeightMap);
    UnitTable = nullptr;
    MapGrid = MarkGrid = HeightMap = nullptr;
    nextUnit = 0;
}

int ClearMarksIfUniform(int x0, int y0, int x1, int y1, int level, int tile) {
    if (MapGrid == nullptr || level < 0 || level >= LEVEL_COUNT) return 1;
    for (long long y = y0; y <= y1; ++y)
        for (long long x = x0; x <= x1; ++x) {
            if (x < 0 || x >= MAP_WIDTH || y < 0 || y >= MAP_WIDTH) return 1;
            if (MapGrid[CellIndex(int(x), int(y), level)] != tile) return 1;
        }
    for (long long y = y0; y <= y1; ++y)
        for (long long x = x0; x <= x1; ++x) MarkGrid[CellIndex(int(x), int(y), level)] = 0;
    return 0;
}
