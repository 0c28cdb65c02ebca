// A random world for trying the scene: boxes and beams of code 2 scattered through the grid
// and units placed on non-empty cells, filling the unit table from record 2 up to its end.
#include <cstdint>

#include "dungeon/dungeon_tables.h"
#include "gamedata/engine_settings.h"
#include "scene/scene_renderer.h"
#include "shell/random.h"
#include "world/world_tables.h"

namespace {

constexpr int TEST_BLOCK = 2;
constexpr int BEAM_LENGTH = 18;
constexpr int FIRST_TEST_UNIT = 2;

// Fills the box with TEST_BLOCK, leaving the grid's border cells alone.
void FillBox(int x0, int y0, int l0, int sx, int sy, int sl) {
    for (int l = l0; l < l0 + sl; ++l)
        for (int y = y0; y < y0 + sy; ++y)
            for (int x = x0; x < x0 + sx; ++x)
                if (x > 0 && x < MAP_WIDTH - 1 && y > 0 && y < MAP_WIDTH - 1 && l > 0 &&
                    l < LEVEL_COUNT - 1)
                    MapGrid[CellIndex(x, y, l)] = TEST_BLOCK;
}

void PlaceBlock(bool beam) {
    int sx = RandomBelow(5) + 1, sy = RandomBelow(5) + 1, sl = RandomBelow(5) + 1;
    if (beam) {
        switch (RandomBelow(3)) {
        case 0:
            sx = 1, sy = 1, sl = BEAM_LENGTH;
            break;
        case 1:
            sx = BEAM_LENGTH, sy = 1, sl = 1;
            break;
        default:
            sx = 1, sy = BEAM_LENGTH, sl = 1;
            break;
        }
    }
    int x = RandomBelow(MAP_WIDTH), y = RandomBelow(MAP_WIDTH), l = RandomBelow(LEVEL_COUNT);
    FillBox(x, y, l, sx, sy, sl);
}

}  // namespace

void ScatterTestWorld(int count, int mode) {
    if (MapGrid == nullptr || MarkGrid == nullptr || UnitTable == nullptr || MAP_WIDTH <= 0 ||
        LEVEL_COUNT <= 0)
        return;
    if (mode == 0) {
        for (int i = 0; i < count; ++i) PlaceBlock(false);
    } else if (mode == 1) {
        for (int i = 0; i < count / 3 * 2; ++i) PlaceBlock(false);
        for (int i = 0; i < count; ++i) PlaceBlock(true);
    }
    int next = FIRST_TEST_UNIT;
    for (int draw = 0; draw < UNIT_CAPACITY && next < UNIT_CAPACITY; ++draw) {
        int x = RandomBelow(MAP_WIDTH), y = RandomBelow(MAP_WIDTH), l = RandomBelow(LEVEL_COUNT);
        if (MapGrid[CellIndex(x, y, l)] == CELL_EMPTY) continue;
        MarkGrid[CellIndex(x, y, l)] = 10;
        UnitRecord& u = UnitTable[next++];
        u.inUse = 1;
        u.x = std::uint16_t(x);
        u.y = std::uint16_t(y);
        u.level = std::uint16_t(l);
        u.maxHitPoints = u.hitPoints = 10.0f;
    }
    if (next > FIRST_TEST_UNIT) nextUnit = next;
}
