// The dungeon generator's tables and the cell codes it writes into MapGrid.
#pragma once

#include <cstdint>

constexpr std::uint8_t CELL_EMPTY = 0;
constexpr std::uint8_t CELL_FLOOR = 60;
constexpr std::uint8_t CELL_WALL = 61;
constexpr std::uint8_t CELL_DOOR = 70;
constexpr std::uint8_t CELL_STAIRS_UP = 76;
constexpr std::uint8_t CELL_STAIRS_DOWN = 77;
constexpr std::uint8_t CELL_FOUNTAIN = 84;
constexpr std::uint8_t CELL_CANDELABRUM = 86;
constexpr std::uint8_t CELL_COFFIN = 88;
constexpr std::uint8_t CELL_CHEST = 90;
constexpr std::uint8_t CELL_SCROLLS = 100;
constexpr std::uint8_t CELL_FEATURE = 160;
constexpr std::uint8_t CELL_FEATURE_ALT = 163;
constexpr std::uint8_t CLAIM_MARK = 15;  // MarkGrid value of a cell reserved by a room
constexpr std::uint8_t NO_ROOM_TEMPLATE = 255;

// One placed room.
struct RoomRecord {
    std::uint16_t x, y;           // origin of the room's box
    std::uint16_t width, height;  // after orientation
    std::uint16_t level;
    std::int32_t index;         // the record's own index in RoomTable
    std::uint8_t roomTemplate;  // template index; 255 = none
};

extern RoomRecord* RoomTable;         // ROOM_CAPACITY records
extern std::uint8_t* RoomMask;        // ROOM_TEMPLATE_STRIDE^2 bytes: 0 nothing, 1 floor, 3 feature
extern std::int32_t* LevelFirstRoom;  // LEVEL_COUNT + 1 entries
extern std::int32_t* LevelEndRoom;    // LEVEL_COUNT + 1 entries: one past a level's last room

void CreateDungeonTables();
void ReleaseDungeonTables();
// Marks records 0 to 99,999 (or the whole table when it is smaller) as having no template.
void ResetRoomTemplates();
