// The world state the whole engine shares: the unit table, the tile grid of every level,
// the mark grid beside it and the overworld's height map.
#pragma once

#include <cstdint>

#include "gamedata/engine_settings.h"

constexpr std::int16_t KIND_UNIT = 1;
constexpr std::int16_t KIND_TOWN = 3;
constexpr std::int16_t KIND_WELL = 9;
constexpr std::int32_t OWNER_NEUTRAL = 99;

// One unit, town or well. Index 0 is the player's unit, index 1 the walker of the scene.
struct UnitRecord {
    std::uint8_t inUse;  // 1 = live unit; free records and dead units hold 0
    std::int32_t id;     // the record's own index
    std::int32_t owner;  // kingdom 1..KINGDOM_COUNT, or OWNER_NEUTRAL
    std::uint16_t x, y, level;
    std::int16_t targetX, targetY;  // destination of the current move order
    std::int16_t stepX, stepY;      // next cell of the planned path
    std::uint8_t searchKind;        // 3 = stored-path search, 1 = next-step search
    std::int32_t followTimer;
    std::int16_t followUnit;  // 0 = none
    std::uint8_t pathPending;
    std::int16_t moveState;  // 0 idle, 1 moving to the target, 2 following followUnit
    float sceneX, sceneY, sceneZ;
    float prevSceneX, prevSceneY, prevSceneZ;
    std::int16_t blocking;  // obstacle for other searches (records 0..9 only)
    std::int16_t sprite;    // picture slot drawn for the unit
    std::int16_t kind;      // KIND_UNIT, KIND_TOWN or KIND_WELL
    std::int16_t nameParts[3];
    float baseValue;
    float maxHitPoints;
    float hitPoints;
    std::uint8_t destroyed;
    std::uint8_t statusMark;  // 1 or 3 draw the hit-point bar in purple
    std::uint8_t searchFlag;
    std::int16_t lastTargetX, lastTargetY;
    std::int32_t strength;
    std::int32_t maxStrength;
    std::int32_t treasury;
    float walkPhase;
};

extern UnitRecord* UnitTable;    // UNIT_CAPACITY records
extern std::uint8_t* MapGrid;    // LEVEL_COUNT levels of MAP_WIDTH^2 tile codes, level-major
extern std::uint8_t* MarkGrid;   // same shape as MapGrid: per-cell marks that are not tiles
extern std::uint8_t* HeightMap;  // (MAP_WIDTH + 1)^2 heights, row stride MAP_WIDTH; 0 = unset
extern std::int32_t nextUnit;    // next unit record to hand out

// Index of cell (x, y) of `level` in MapGrid and MarkGrid.
inline long long CellIndex(int x, int y, int level) {
    return (static_cast<long long>(level) * MAP_WIDTH + y) * MAP_WIDTH + x;
}

void CreateGrids();  // HeightMap, MapGrid and MarkGrid at the current settings
void CreateUnitTable();
void ReleaseWorldTables();
