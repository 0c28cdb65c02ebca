// The tile-map view: pictures copied through the clipping pixel write, the selected unit's
// path and range ring, and one sprite, pick area, hit-point bar and caption per unit on the
// shown level. Used by the engine's host program each pass.
#include "dungeon/tile_map.h"

#include <algorithm>
#include <cstdio>

#include "draw/lines.h"
#include "draw/pixels.h"
#include "draw/text.h"
#include "gamedata/engine_settings.h"
#include "gamedata/image_slots.h"
#include "scene/scene_state.h"
#include "scene/view_position.h"
#include "shell/app_state.h"
#include "world/path_finder.h"
#include "world/world_tables.h"

namespace {

struct CodeSlot {
    int code, slot;
};

// Cell codes whose picture lives in another slot; the overworld codes 10-24 and 180-194
// (except 185-187) use the slot of their own number.
constexpr CodeSlot DUNGEON_PICTURES[] = {
    {60, 119},  {61, 111},  {68, 118},  {70, 128},  {76, 137},  {77, 136},  {78, 131},
    {79, 130},  {80, 132},  {81, 133},  {82, 148},  {83, 149},  {84, 134},  {85, 135},
    {86, 122},  {87, 123},  {88, 124},  {89, 125},  {90, 120},  {91, 121},  {100, 167},
    {108, 140}, {109, 142}, {111, 141}, {112, 144}, {113, 146}, {116, 145}, {128, 152},
    {161, 126}, {162, 127}, {211, 160}, {212, 161}, {218, 155}, {219, 156},
};

struct CodeTable {
    short slot[256];
    CodeTable() {
        std::fill(std::begin(slot), std::end(slot), short(-1));
        for (int c = 10; c <= 24; ++c) slot[c] = short(c);
        for (int c = 180; c <= 184; ++c) slot[c] = short(c);
        for (int c = 188; c <= 194; ++c) slot[c] = short(c);
        for (const CodeSlot& p : DUNGEON_PICTURES) slot[p.code] = short(p.slot);
    }
};
const CodeTable CODE_TABLE;

// The slot when it holds three-byte pixels, else nullptr. Only as many rows as the picture
// has are ever read, whatever its width.
const ImageSlot* DrawableSlot(int slot) {
    if (ImageSlots == nullptr || slot < 0 || slot >= ImageSlotCount()) return nullptr;
    const ImageSlot& s = ImageSlots[slot];
    if (s.pixels == nullptr || s.width <= 0 || s.height <= 0 || s.channels != 3) return nullptr;
    return &s;
}

template <bool Keyed> void CopyTile(int x, int y, int slot) {
    const ImageSlot* s = DrawableSlot(slot);
    if (s == nullptr) return;
    const int w = s->width;
    const int rows = std::min(w, s->height);
    // Only the part inside the frame: the pixel write would drop the rest anyway.
    const int r0 = std::max(0, -y), r1 = std::min(rows, AppState.frameHeight - y);
    const int c0 = std::max(0, -x), c1 = std::min(w, AppState.frameWidth - x);
    for (int r = r0; r < r1; ++r) {
        const std::uint8_t* p = s->pixels + (std::size_t(r) * w + c0) * 3;
        for (int c = c0; c < c1; ++c, p += 3) {
            if (Keyed && ((p[0] == 255 && p[1] == 0 && p[2] == 246) ||
                          (p[0] == 0 && p[1] == 0 && p[2] == 0)))
                continue;
            PutPixel(x + c, y + r, p[0], p[1], p[2]);
        }
    }
}

bool CellOnMap(long long x, long long y, long long level) {
    return x >= 0 && y >= 0 && level >= 0 && x < MAP_WIDTH && y < MAP_WIDTH && level < LEVEL_COUNT;
}

// Screen position of a map coordinate relative to the view; 64-bit so far-off cells clip.
int ScreenOf(long long cell, int view) {
    long long s = (cell - view) * TILE_SIZE;
    return int(std::clamp<long long>(s, -(1LL << 30), 1LL << 30));
}

void DrawTiles() {
    if (MapGrid == nullptr) return;
    const int columns = AppState.frameWidth / TILE_SIZE, rows = AppState.frameHeight / TILE_SIZE;
    for (int i = 0; i < columns; ++i) {
        for (int j = 0; j < rows; ++j) {
            long long x = (long long)ViewX + i, y = (long long)ViewY + j;
            if (!CellOnMap(x, y, ViewLevel)) continue;
            int slot = TileSlotOfCode(MapGrid[CellIndex(int(x), int(y), ViewLevel)]);
            if (slot >= 0) DrawTile(TILE_SIZE * i, TILE_SIZE * j, slot);
        }
    }
}

void DrawSelectedUnit() {
    if (SelectedUnit < 0 || SelectedUnit >= UNIT_CAPACITY) return;
    const UnitRecord& u = UnitTable[SelectedUnit];
    if (u.inUse != 1) return;
    if (PathFinder != nullptr && SelectedUnit < PathFinder->unitCapacity) {
        // An index beyond the row would read another unit's path or past the table.
        int last = std::min(PathFinder->pathIndex[SelectedUnit], PATH_ROW - 1);
        const long long row = (long long)SelectedUnit * PATH_ROW;
        for (int k = last; k >= 0; --k)
            DrawTileKeyed(ScreenOf(PathFinder->pathX[row + k], ViewX),
                          ScreenOf(PathFinder->pathY[row + k], ViewY), PATH_MARKER_SLOT);
    }
    int sx = ScreenOf(u.x, ViewX), sy = ScreenOf(u.y, ViewY);
    DrawCircleTable(sx + 8, sy + 8, 448, 255, 255, 255);
    DrawTileKeyed(sx, sy, PATH_MARKER_SLOT);
}

}  // namespace

int TileSlotOfCode(int code) {
    return code >= 0 && code < 256 ? CODE_TABLE.slot[code] : -1;
}

void DrawTile(int x, int y, int slot) {
    CopyTile<false>(x, y, slot);
}

void DrawTileKeyed(int x, int y, int slot) {
    CopyTile<true>(x, y, slot);
}

void StampTilePickId(int x, int y, int slot, int id) {
    if (ImageSlots == nullptr || slot < 0 || slot >= ImageSlotCount()) return;
    const ImageSlot& s = ImageSlots[slot];
    // Rows y + 1..y + h and columns x..x + w - 1, limited to the frame.
    long long r0 = std::max<long long>(1, -(long long)y);
    long long r1 = std::min<long long>(s.height, (long long)AppState.frameHeight - 1 - y);
    long long c0 = std::max<long long>(0, -(long long)x);
    long long c1 = std::min<long long>(s.width - 1, (long long)AppState.frameWidth - 1 - x);
    for (long long r = r0; r <= r1; ++r)
        for (long long c = c0; c <= c1; ++c) PutPickId(int(x + c), int(y + r), id);
}

int HitPointBarLength(float hitPoints, float maxHitPoints) {
    if (!(maxHitPoints > 0)) return 0;
    double length = double(hitPoints) * 14.0 / double(maxHitPoints);
    if (!(length > 0)) return 0;
    return length >= 14 ? 14 : int(length);
}

namespace {

// Tiles, the selected unit, and each unit's sprite, pick area and bar, with its caption when
// `captions`.
void DrawMap(bool captions) {
    DrawTiles();
    if (UnitTable == nullptr) return;
    DrawSelectedUnit();
    const int columns = AppState.frameWidth / TILE_SIZE, rows = AppState.frameHeight / TILE_SIZE;
    for (int i = 0; i < UNIT_CAPACITY; ++i) {
        if (!UnitOnTileMap(i)) continue;
        const UnitRecord& u = UnitTable[i];
        long long cx = (long long)u.x - ViewX, cy = (long long)u.y - ViewY;
        if (cx < 0 || cx >= columns || cy < 0 || cy >= rows) continue;
        const int sx = int(cx) * TILE_SIZE, sy = int(cy) * TILE_SIZE;
        DrawTileKeyed(sx, sy, u.sprite);
        StampTilePickId(sx, sy, u.sprite, i + UNIT_PICK_BASE);
        DrawLine(sx, sy + 16, sx + 14, sy + 16, 255, 0, 0);
        const int length = HitPointBarLength(u.hitPoints, u.maxHitPoints);
        if (u.statusMark == 0)
            DrawLine(sx, sy + 16, sx + length, sy + 16, 0, 255, 0);
        else if (u.statusMark == 1 || u.statusMark == 3)
            DrawLine(sx, sy + 16, sx + length, sy + 16, 96, 44, 136);
        if (!captions) continue;
        std::snprintf(TextBuffer, TEXT_BUFFER_SIZE, "%d ms%d ", i, int(u.moveState));
        DrawText(sx, sy + 17, 255, 255, 255);
    }
}

}  // namespace

bool UnitOnTileMap(int i) {
    if (UnitTable == nullptr || i < 0 || i >= UNIT_CAPACITY) return false;
    const UnitRecord& u = UnitTable[i];
    if (u.inUse != 1 || u.destroyed != 0 || u.level != ViewLevel) return false;
    return u.kind == KIND_UNIT || u.kind == KIND_TOWN || u.kind == KIND_WELL;
}

void DrawTileMap() {
    DrawMap(true);
}

void DrawTileMapWithoutCaptions() {
    DrawMap(false);
}
