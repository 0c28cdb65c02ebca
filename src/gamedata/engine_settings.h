// The engine's size settings: plain integers fixed before start-up, from which every grid
// and table size is computed when InitGameData creates them.
#pragma once

#include <cstdint>

extern std::int32_t MAP_WIDTH;             // side of every map level, in cells
extern std::int32_t LEVEL_COUNT;           // levels of MapGrid; level 0 is the overworld
extern std::int32_t SLOT_COUNT;            // picture slots in ImageSlots
extern std::int32_t UNIT_CAPACITY;         // records of UnitTable
extern std::int32_t ITEM_CAPACITY;         // records of ItemTable
extern std::int32_t KINGDOM_COUNT;         // kingdoms of the strategic world
extern std::int32_t ROOM_TEMPLATE_STRIDE;  // side of RoomMask and row length of a room template
extern std::int32_t ROOM_CAPACITY;         // records of RoomTable: LEVEL_COUNT * 6000 by default
