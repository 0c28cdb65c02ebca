// Default values of the engine's size settings; tests and tools may change them before
// InitGameData runs.
#include "gamedata/engine_settings.h"

std::int32_t MAP_WIDTH = 256;
std::int32_t LEVEL_COUNT = 180;
std::int32_t SLOT_COUNT = 3100;
std::int32_t UNIT_CAPACITY = 3000;
std::int32_t ITEM_CAPACITY = 230000;
std::int32_t KINGDOM_COUNT = 3;
std::int32_t ROOM_TEMPLATE_STRIDE = 30;
std::int32_t ROOM_CAPACITY = LEVEL_COUNT * 6000;
