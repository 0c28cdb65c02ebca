// The dungeon generator: a first phase grows the rooms of each level from a centred first
// room through one-cell doorways, a second links each level to the one above with stairs and
// places the objects. The engine calls it; it allocates nothing and keeps its working state in
// the current room of room_mask.cpp and the tables of dungeon_tables.cpp.
#include "dungeon/dungeon_generator.h"

#include <cstdio>
#include <cstring>

#include "draw/text.h"
#include "dungeon/dungeon_area.h"
#include "dungeon/dungeon_tables.h"
#include "dungeon/room_mask.h"
#include "gamedata/engine_settings.h"
#include "platform/platform.h"
#include "shell/app_state.h"
#include "shell/frame_buffers.h"
#include "shell/gl_window.h"
#include "shell/random.h"
#include "world/world_tables.h"

int DungeonStyle = 38;
int PlacementTryLimit = 1000000;
int ShowGenerationProgress = 0;
int StopGeneration = 0;
std::uint8_t RedrawRequest = 0;
int RoomCount = 0;

namespace {

constexpr int FIRST_ROOM_TEMPLATE = 13;
constexpr int TRIES_PER_ATTEMPT = 1000;

struct ObjectKind {
    const char* message;
    int roomsPerObject;  // the kind's count N is rooms / roomsPerObject
    std::uint8_t code;
};

constexpr ObjectKind OBJECT_KINDS[] = {
    {"Chest Generation = %d", 25, CELL_CHEST},
    {"Candleabrum Generation = %d", 5, CELL_CANDELABRUM},
    {"Scrolls Generation = %d", 40, CELL_SCROLLS},
    {"Coffin Generation = %d", 25, CELL_COFFIN},
    {"Fountain Generation = %d", 60, CELL_FOUNTAIN},
};

std::uint8_t& GridCell(int x, int y, int level) {
    return MapGrid[CellIndex(x, y, level)];
}

void ClearFramebufferPixels() {
    if (Framebuffer == nullptr) return;
    std::memset(Framebuffer, 0, std::size_t(AppState.frameWidth) * AppState.frameHeight * 4);
}

// The current room goes into RoomTable at RoomCount; the caller has checked there is room.
void RecordRoom(int roomTemplate) {
    RoomRecord& record = RoomTable[RoomCount];
    record.x = std::uint16_t(RoomOriginX);
    record.y = std::uint16_t(RoomOriginY);
    record.width = std::uint16_t(RoomWidth);
    record.height = std::uint16_t(RoomHeight);
    record.level = std::uint16_t(RoomLevel);
    record.index = RoomCount;
    record.roomTemplate = std::uint8_t(roomTemplate);
    ++RoomCount;
}

bool TableFull() {
    return RoomCount >= ROOM_CAPACITY;
}

// The start square and the first room of `level`; false when either does not fit.
bool StartLevel(int centreX, int centreY, int level, bool firstOfRun, int squareSize,
                int& roomTemplate) {
    RoomLevel = level;
    int half = squareSize / 2;
    if (TableFull()) return false;  // checked first, so a level that cannot start stays empty
    if (ClaimArea(centreX - half, centreY - half, centreX + half, centreY + half, level, CELL_WALL))
        return false;
    roomTemplate = firstOfRun ? FIRST_ROOM_TEMPLATE : RandomBelow(13);
    BuildRoomMask(roomTemplate, 0);
    RoomOriginX = centreX - RoomWidth / 2;
    RoomOriginY = centreY - RoomHeight / 2;
    if (AreaMismatch(RoomOriginX - 1, RoomOriginY - 1, RoomOriginX + RoomWidth,
                     RoomOriginY + RoomHeight, level, CELL_WALL))
        return false;
    StampRoom();
    LevelFirstRoom[level] = RoomCount;
    RecordRoom(roomTemplate);
    return true;
}

// One try at joining a new room to a random floor cell of a room already on `level`. The
// random draws come in a fixed order, so a seed always gives the same dungeon.
bool TryRoom(int level, int& roomTemplate) {
    static constexpr int STEP_X[4] = {0, 0, 1, -1}, STEP_Y[4] = {1, -1, 0, 0};
    int orientation = RandomBelow(4);
    if (DungeonStyle == 38) roomTemplate = RandomBelow(19);
    if (DungeonStyle == 3 || DungeonStyle == 5 || DungeonStyle == 6) roomTemplate = RandomBelow(29);
    int first = LevelFirstRoom[level];
    const RoomRecord& base = RoomTable[first + RandomBelow(RoomCount - first)];
    int x = base.x + RandomBelow(base.width);
    int y = base.y + RandomBelow(base.height);
    if (!(2 < x && x < MAP_WIDTH - 2 && 2 < y && y < MAP_WIDTH - 2)) return false;
    int direction = RandomBelow(4);
    int doorX = x + STEP_X[direction], doorY = y + STEP_Y[direction];
    int anchorX = x + 2 * STEP_X[direction], anchorY = y + 2 * STEP_Y[direction];
    if (GridCell(x, y, level) != CELL_FLOOR || GridCell(doorX, doorY, level) != CELL_WALL ||
        GridCell(anchorX, anchorY, level) != CELL_WALL)
        return false;
    SetRoomSize(roomTemplate, orientation);
    int offsetX = RandomBelow(RoomWidth);
    int offsetY = RandomBelow(RoomHeight);
    int left = anchorX - offsetX, bottom = anchorY - offsetY;
    if (AreaMismatch(left - 1, bottom - 1, left + RoomWidth, bottom + RoomHeight, level, CELL_WALL))
        return false;
    BuildRoomMask(roomTemplate, orientation);
    if (RoomMaskAt(offsetX, offsetY) != MASK_FLOOR) return false;
    RoomOriginX = left;
    RoomOriginY = bottom;
    if (DungeonStyle == 6)
        StampRoomAlt();
    else
        StampRoom();
    RecordRoom(roomTemplate);
    GridCell(doorX, doorY, level) = RandomBelow(3) == 1 ? CELL_DOOR : CELL_FLOOR;
    return true;
}

// The room attempts of one level; each adds at most one room. Placing stops when RoomTable
// is full.
void GrowLevel(int level, int attempts, int roomTemplate) {
    int clearPeriod = attempts / 10;  // below 10 attempts only RedrawRequest clears the frame
    for (int a = 0; a < attempts && StopGeneration == 0 && !TableFull(); ++a) {
        if ((clearPeriod > 0 && a % clearPeriod == 1) || RedrawRequest == 1) {
            RedrawRequest = 0;
            ClearFramebufferPixels();
        }
        if (a % 100 == 0) GenerationIdleHook(0);
        for (int t = 0; t < TRIES_PER_ATTEMPT; ++t)
            if (TryRoom(level, roomTemplate)) break;
    }
}

void ShowProgress(const char* format, int count) {
    if (ShowGenerationProgress == 0) return;
    ClearFramebufferPixels();
    std::snprintf(TextBuffer, TEXT_BUFFER_SIZE, format, count);
    DrawText(100, 100, 200, 200, 200);
    ProgressPresentHook();
    platform::Sys().Pause(100);
}

// A random cell of a random room among the `rooms` rooms of `level`.
void RandomRoomCell(int level, int rooms, int& x, int& y) {
    const RoomRecord& room = RoomTable[LevelFirstRoom[level] + RandomBelow(rooms)];
    int dx = RandomBelow(room.width);
    int dy = RandomBelow(room.height);
    x = room.x + dx;
    y = room.y + dy;
}

// Stairs where a floor cell of `level` lies over a floor cell of the level above.
void PlaceStairs(int level, int rooms, int pairs) {
    int placed = 0;
    for (int tries = 0; tries < PlacementTryLimit && placed < pairs; ++tries) {
        int x, y;
        RandomRoomCell(level, rooms, x, y);
        if (GridCell(x, y, level) != CELL_FLOOR || GridCell(x, y, level - 1) != CELL_FLOOR)
            continue;
        GridCell(x, y, level) = CELL_STAIRS_UP;
        GridCell(x, y, level - 1) = CELL_STAIRS_DOWN;
        ++placed;
    }
}

// count + 1 objects of a kind on floor cells, none when count is 0.
void PlaceObjects(int level, int rooms, int count, std::uint8_t code) {
    if (count == 0) return;
    int placed = 0;
    for (int tries = 0; tries < PlacementTryLimit && placed <= count; ++tries) {
        int x, y;
        RandomRoomCell(level, rooms, x, y);
        if (GridCell(x, y, level) != CELL_FLOOR) continue;
        GridCell(x, y, level) = code;
        ++placed;
    }
}

void FurnishLevel(int level, bool firstOfRun, int squareSize) {
    int rooms = LevelEndRoom[level] - LevelFirstRoom[level];
    if (rooms <= 0) return;
    if (!firstOfRun) {
        int pairs = squareSize / 32 + 1;
        ShowProgress("Stairs Generation = %d", pairs);
        PlaceStairs(level, rooms, pairs);
    }
    for (const ObjectKind& kind : OBJECT_KINDS) {
        int count = rooms / kind.roomsPerObject;
        ShowProgress(kind.message, count);
        PlaceObjects(level, rooms, count, kind.code);
    }
}

}  // namespace

int GenerateDungeon(int centreX, int centreY, int firstLevel, int levelCount, int squareSize,
                    int attempts) {
    RoomCount = 0;
    long long end = static_cast<long long>(firstLevel) + levelCount;
    int roomTemplate = 0;
    for (int level = firstLevel; level < end && StopGeneration == 0; ++level) {
        if (!StartLevel(centreX, centreY, level, level == firstLevel, squareSize, roomTemplate))
            return 1;
        GrowLevel(level, attempts, roomTemplate);
        LevelEndRoom[level] = RoomCount;
    }
    for (int level = firstLevel; level < end && StopGeneration == 0; ++level)
        FurnishLevel(level, level == firstLevel, squareSize);
    return int(end);
}

void (*GenerationIdleWork)(int) = nullptr;

void GenerationIdleHook(int stage) {
    if (GenerationIdleWork != nullptr) GenerationIdleWork(stage);
}

void ProgressPresentHook() {
    PresentFrame();
}
