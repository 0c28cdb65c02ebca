// The world's grids and unit table: created zeroed at start-up at the sizes the settings
// give, released at shutdown.
#include "world/world_tables.h"

#include <cstdlib>

#include "gamedata/table_memory.h"

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
