// The engine's start-up sequence, run by the shell's StartUp, and its release at shutdown.
// Tables that start zeroed come from zeroed pages that are never written here, so a table
// costs resident memory only once the engine uses it.
#include "gamedata/game_data.h"

#include <cstdio>
#include <cstdlib>

#include "draw/trig_tables.h"
#include "dungeon/dungeon_tables.h"
#include "gamedata/engine_settings.h"
#include "gamedata/image_slots.h"
#include "gamedata/item_table.h"
#include "gamedata/picture_groups.h"
#include "gamedata/terrain_cost.h"
#include "scene/console_buffers.h"
#include "shell/app_state.h"
#include "shell/frame_buffers.h"
#include "world/path_finder.h"
#include "world/world_tables.h"

namespace {

constexpr int WALKER = 1;

void RequireSetting(const char* name, long long value, long long low, long long high) {
    if (value >= low && value <= high) return;
    std::fprintf(stderr, "quentaro: the setting %s is %lld; start-up needs %lld to %lld\n", name,
                 value, low, high);
    std::exit(1);
}

// Start-up writes fixed records (unit 1, item 10000, the cells 0..3 of level 0), path
// finding keeps cell coordinates in 16 bits, the unit scatter draws positions below
// MAP_WIDTH / 4 - 1 and the capitals' spacing is MAP_WIDTH / KINGDOM_COUNT with the capitals
// in records 1..KINGDOM_COUNT: other settings cannot work.
void CheckSettings() {
    constexpr long long INT32_TOP = 2147483647;
    RequireSetting("MAP_WIDTH", MAP_WIDTH, 8, 32767);
    RequireSetting("LEVEL_COUNT", LEVEL_COUNT, 1, INT32_TOP - 1);
    RequireSetting("SLOT_COUNT", SLOT_COUNT, 1, INT32_TOP);
    RequireSetting("UNIT_CAPACITY", UNIT_CAPACITY, WALKER + 1, INT32_TOP);
    RequireSetting("KINGDOM_COUNT", KINGDOM_COUNT, 1, UNIT_CAPACITY - 1LL);
    RequireSetting("ITEM_CAPACITY", ITEM_CAPACITY, ITEM_UNIT_FIRST + ITEM_SLOTS_PER_UNIT,
                   INT32_TOP);
    RequireSetting("ROOM_TEMPLATE_STRIDE", ROOM_TEMPLATE_STRIDE, 1, 32767);
    RequireSetting("ROOM_CAPACITY", ROOM_CAPACITY, 0, INT32_TOP);
}

// Everything but the trig tables, which are the same at every start-up and rebuilt only
// after a shutdown.
void ReleaseEngineTables() {
    ReleaseConsoleBuffers();
    ReleaseDungeonTables();
    ReleasePathFinder(PathFinder);
    PathFinder = nullptr;
    ReleaseItemTable();
    ReleaseImageSlots();
    ReleaseWorldTables();
}

}  // namespace

int InitGameData() {
    ReleaseEngineTables();
    CheckSettings();
    ResizeFrame(AppState.frameWidth, AppState.frameHeight);
    CreateGrids();
    CreateImageSlots();
    CreateUnitTable();
    CreateItemTable();
    PathFinder = CreatePathFinder();
    LoadPictureGroups();
    FillTerrainCost();
    CreateDungeonTables();
    BuildTrigTables();
    InitConsoleBuffers();
    BuildItemTemplates();
    GiveStartingItems();
    UnitTable[WALKER].sceneX = UnitTable[WALKER].sceneY = UnitTable[WALKER].sceneZ = 0.5f;
    // A 0, 1, 0, 1 strip at the overworld's corner.
    MapGrid[0] = 0;
    MapGrid[1] = 1;
    MapGrid[2] = 0;
    MapGrid[3] = 1;
    return 1;
}

void ReleaseGameData() {
    ReleaseEngineTables();
    ReleaseTrigTables();
}
