// Populating the unit table: test units scattered over the overworld's top-left corner, and
// the strategic world of kingdom capitals and wells that the strategic turn plays on.
#include <algorithm>
#include <cstdlib>

#include "gamedata/engine_settings.h"
#include "platform/platform.h"
#include "shell/random.h"
#include "world/world_generation.h"
#include "world/world_tables.h"

namespace {

constexpr int SCATTERED_LAST = 255;
constexpr int SCATTER_TRIES = 10000;
constexpr int SPREAD_ATTEMPTS = 10000;
constexpr int WELL_COUNT = 210;
constexpr int WELL_TRIES = 10;
constexpr std::int16_t SPRITE_MAGE = 981;
constexpr std::int16_t SPRITE_CASTLE = 189;
constexpr std::int16_t SPRITE_WELL = 194;
constexpr int TILE_HILLS = 18, TILE_MOUNTAIN = 19, TILE_HIGH_MOUNTAIN = 20;

int OverworldTile(int x, int y) {
    return MapGrid[CellIndex(x, y, 0)];
}

// Capitals and wells are placed on 1..254; a narrower map keeps them on its inner cells.
int PlaceInMap() {
    return RandomBelow(std::min(254, MAP_WIDTH - 2)) + 1;
}

int InsideMap(int value) {
    return std::clamp(value, 1, MAP_WIDTH - 2);
}

// The Manhattan distance between every two capitals is at least `spacing`.
bool CapitalsSpread(int spacing) {
    for (int a = 1; a <= KINGDOM_COUNT; ++a)
        for (int b = a + 1; b <= KINGDOM_COUNT; ++b) {
            int d = std::abs(UnitTable[a].x - UnitTable[b].x) +
                    std::abs(UnitTable[a].y - UnitTable[b].y);
            if (d < spacing) return false;
        }
    return true;
}

void MakeCapital(int k) {
    UnitRecord& u = UnitTable[nextUnit];
    u.inUse = 1;
    u.kind = KIND_TOWN;
    u.id = nextUnit;
    u.maxStrength = RandomBelow(8) + 5;
    u.strength = u.maxStrength;
    u.sprite = SPRITE_CASTLE;
    u.destroyed = 0;
    u.statusMark = 0;
    u.owner = k;
    u.treasury = 100;
    ++nextUnit;
}

// The first three capitals always stand in their own regions, east to west.
void MoveIntoRegion(int record, int left, int top) {
    int x = left + RandomBelow(20);
    int y = top + RandomBelow(20);
    if (record >= UNIT_CAPACITY) return;
    UnitTable[record].x = std::uint16_t(InsideMap(x));
    UnitTable[record].y = std::uint16_t(InsideMap(y));
    UnitTable[record].level = 0;
}

void MakeWell() {
    UnitRecord& u = UnitTable[nextUnit];
    u.inUse = 1;
    u.kind = KIND_WELL;
    u.id = nextUnit;
    for (int t = 0; t < WELL_TRIES; ++t) {
        u.x = std::uint16_t(PlaceInMap());
        u.y = std::uint16_t(PlaceInMap());
        u.level = 0;
        int tile = OverworldTile(u.x, u.y);
        if (tile == TILE_HILLS || tile == TILE_MOUNTAIN || tile == TILE_HIGH_MOUNTAIN) break;
    }
    u.maxStrength = RandomBelow(8) + 5;
    u.strength = u.maxStrength;
    u.sprite = SPRITE_WELL;
    u.destroyed = 0;
    u.statusMark = 0;
    u.owner = OWNER_NEUTRAL;
    ++nextUnit;
}

}  // namespace

void ScatterUnits() {
    int last = std::min(SCATTERED_LAST, UNIT_CAPACITY - 1);
    int range = MAP_WIDTH / 4 - 1;
    for (int i = 1; i <= last; ++i) {
        UnitRecord& u = UnitTable[i];
        u.inUse = 1;
        u.kind = KIND_UNIT;
        u.id = i;
        u.maxHitPoints = float(RandomBelow(8) + 5);
        u.hitPoints = u.maxHitPoints;
        u.sprite = SPRITE_MAGE;
        u.destroyed = 0;
        u.statusMark = 0;
        u.owner = 1;
        u.baseValue = 100.0f;
        u.moveState = 0;
        u.blocking = 0;
        for (int t = 0; t < SCATTER_TRIES; ++t) {
            u.x = std::uint16_t(RandomBelow(range) + 1);
            u.y = std::uint16_t(RandomBelow(range) + 1);
            u.level = 0;
            int tile = OverworldTile(u.x, u.y);
            if (tile != TILE_MOUNTAIN && tile != TILE_HIGH_MOUNTAIN) break;
        }
    }
}

void SetUpStrategicWorld() {
    SeedRandom(static_cast<unsigned>(platform::Sys().CalendarSeconds()));
    PlaceKingdomsAndWells();
}

void PlaceKingdomsAndWells() {
    nextUnit = 1;
    for (int k = 1; k <= KINGDOM_COUNT; ++k) MakeCapital(k);

    int spacing = MAP_WIDTH / KINGDOM_COUNT;
    for (int attempt = 0; attempt < SPREAD_ATTEMPTS; ++attempt) {
        for (int k = 1; k <= KINGDOM_COUNT; ++k) {
            UnitTable[k].x = std::uint16_t(PlaceInMap());
            UnitTable[k].y = std::uint16_t(PlaceInMap());
            UnitTable[k].level = 0;
        }
        if (CapitalsSpread(spacing)) break;
    }
    MoveIntoRegion(1, 145, 43);
    MoveIntoRegion(2, 113, 32);
    MoveIntoRegion(3, 93, 24);

    // The wells take the records after the capitals as far as the table reaches.
    for (int w = 0; w < WELL_COUNT && nextUnit < UNIT_CAPACITY; ++w) MakeWell();
}
