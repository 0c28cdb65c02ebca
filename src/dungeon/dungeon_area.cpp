// Rectangle checks and fills over MapGrid. The generator claims its start squares and tests
// room boxes with these; the diagonal-gap scan and the interior fill serve its callers.
// Every cell access is checked against the grid, so a rectangle partly or wholly off the
// map, or on a level the grid does not have, never reaches outside MapGrid.
#include "dungeon/dungeon_area.h"

#include <algorithm>

#include "dungeon/dungeon_tables.h"
#include "gamedata/engine_settings.h"
#include "world/world_tables.h"

namespace {

bool LevelOnGrid(int level) {
    return level >= 0 && level < LEVEL_COUNT;
}

int Cell(int x, int y, int level) {
    return MapGrid[CellIndex(x, y, level)];
}

}  // namespace

bool CellOnGrid(int x, int y, int level) {
    return x >= 0 && x < MAP_WIDTH && y >= 0 && y < MAP_WIDTH && LevelOnGrid(level);
}

int AreaMismatch(int x1, int y1, int x2, int y2, int level, int value) {
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            if (!CellOnGrid(x, y, level) || Cell(x, y, level) != value) return 1;
    return 0;
}

int ClaimArea(int x1, int y1, int x2, int y2, int level, int value) {
    if (AreaMismatch(x1, y1, x2, y2, level, CELL_EMPTY)) return 1;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x) MapGrid[CellIndex(x, y, level)] = std::uint8_t(value);
    return 0;
}

int HasDiagonalGap(int x, int y, int level) {
    if (!CellOnGrid(x, y, level) || !CellOnGrid(x + 1, y + 1, level)) return 0;
    int lowLeft = Cell(x, y, level), lowRight = Cell(x + 1, y, level);
    int highLeft = Cell(x, y + 1, level), highRight = Cell(x + 1, y + 1, level);
    if (lowLeft == CELL_WALL && lowRight == CELL_FLOOR && highLeft == CELL_FLOOR &&
        highRight == CELL_WALL)
        return 1;
    if (lowLeft == CELL_FLOOR && lowRight == CELL_WALL && highLeft == CELL_WALL &&
        highRight == CELL_FLOOR)
        return 1;
    return 0;
}

int AreaHasDiagonalGap(int x1, int y1, int x2, int y2, int level) {
    for (int y = std::max(y1, 0); y <= std::min(y2, MAP_WIDTH - 2); ++y)
        for (int x = std::max(x1, 0); x <= std::min(x2, MAP_WIDTH - 2); ++x)
            if (HasDiagonalGap(x, y, level)) return 1;
    return 0;
}

void FillInterior(int x1, int y1, int x2, int y2, int level, int value) {
    if (!LevelOnGrid(level)) return;
    for (int y = std::max(y1, 1); y <= std::min(y2, MAP_WIDTH - 2); ++y)
        for (int x = std::max(x1, 1); x <= std::min(x2, MAP_WIDTH - 2); ++x)
            MapGrid[CellIndex(x, y, level)] = std::uint8_t(value);
}
