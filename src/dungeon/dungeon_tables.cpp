// The dungeon generator's tables, created once at start-up so that generating a dungeon
// never allocates, and released at shutdown; and the reset of the first records' templates.
#include "dungeon/dungeon_tables.h"

#include <cstdlib>

#include "gamedata/engine_settings.h"
#include "gamedata/table_memory.h"

RoomRecord* RoomTable = nullptr;
std::uint8_t* RoomMask = nullptr;
std::int32_t* LevelFirstRoom = nullptr;
std::int32_t* LevelEndRoom = nullptr;

void CreateDungeonTables() {
    LevelFirstRoom = CreateTableOf<std::int32_t>("level room index", LEVEL_COUNT + 1LL);
    LevelEndRoom = CreateTableOf<std::int32_t>("level room index", LEVEL_COUNT + 1LL);
    long long stride = ROOM_TEMPLATE_STRIDE;
    RoomMask = CreateTableOf<std::uint8_t>("room mask", stride * stride);
    RoomTable = CreateTableOf<RoomRecord>("room table", ROOM_CAPACITY);
}

void ResetRoomTemplates() {
    constexpr int RESET_RECORDS = 100000;
    int records = ROOM_CAPACITY < RESET_RECORDS ? ROOM_CAPACITY : RESET_RECORDS;
    for (int i = 0; i < records; ++i) RoomTable[i].roomTemplate = NO_ROOM_TEMPLATE;
}

void ReleaseDungeonTables() {
    std::free(RoomTable);
    std::free(RoomMask);
    std::free(LevelFirstRoom);
    std::free(LevelEndRoom);
    RoomTable = nullptr;
    RoomMask = nullptr;
    LevelFirstRoom = LevelEndRoom = nullptr;
}
