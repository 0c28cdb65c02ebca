// The current room of the dungeon generator: its mask built from a template in one of four
// orientations, and the three stamps that write it into MapGrid. The generator drives these;
// other callers may set the origin and level themselves and stamp any template.
#include "dungeon/room_mask.h"

#include <cstring>

#include "dungeon/dungeon_area.h"
#include "dungeon/dungeon_tables.h"
#include "dungeon/room_templates.h"
#include "gamedata/engine_settings.h"
#include "world/world_tables.h"

int RoomWidth = 0, RoomHeight = 0;
int RoomOriginX = 0, RoomOriginY = 0;
int RoomLevel = 0;
int ClaimFloorCount = 0, ClaimWallCount = 0, ClaimWriteCount = 0;

namespace {

int CellCode(int maskValue, std::uint8_t featureCode) {
    return maskValue == MASK_FLOOR ? CELL_FLOOR : maskValue == MASK_FEATURE ? featureCode : -1;
}

void Stamp(std::uint8_t featureCode) {
    for (int my = 0; my < RoomHeight; ++my)
        for (int mx = 0; mx < RoomWidth; ++mx) {
            int code = CellCode(RoomMaskAt(mx, my), featureCode);
            int x = RoomOriginX + mx, y = RoomOriginY + my;
            if (code >= 0 && CellOnGrid(x, y, RoomLevel))
                MapGrid[CellIndex(x, y, RoomLevel)] = std::uint8_t(code);
        }
}

// Mask cell of template column c, row r of a w x h template.
void Orient(int c, int r, int w, int h, int orientation, int& mx, int& my) {
    switch (orientation) {
    case 0:
        mx = c, my = r;
        break;
    case 1:
        mx = r, my = w - 1 - c;
        break;
    case 2:
        mx = r, my = c;
        break;
    default:
        mx = c, my = h - 1 - r;
        break;
    }
}

}  // namespace

// A room larger than the mask (a small ROOM_TEMPLATE_STRIDE setting) reads as empty beyond it.
int RoomMaskAt(int mx, int my) {
    if (mx < 0 || my < 0 || mx >= ROOM_TEMPLATE_STRIDE || my >= ROOM_TEMPLATE_STRIDE) return 0;
    return RoomMask[my * ROOM_TEMPLATE_STRIDE + mx];
}

void SetRoomSize(int roomTemplate, int orientation) {
    int w = TemplateWidth(roomTemplate), h = TemplateHeight(roomTemplate);
    bool swapped = orientation == 1 || orientation == 2;
    RoomWidth = swapped ? h : w;
    RoomHeight = swapped ? w : h;
}

void BuildRoomMask(int roomTemplate, int orientation) {
    std::memset(RoomMask, 0, std::size_t(ROOM_TEMPLATE_STRIDE) * ROOM_TEMPLATE_STRIDE);
    SetRoomSize(roomTemplate, orientation);
    if (orientation < 0 || orientation > 3 || TemplateWidth(roomTemplate) == 0) return;
    const char* shape = RoomTemplate[roomTemplate];
    int w = TemplateWidth(roomTemplate), h = TemplateHeight(roomTemplate);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            char cell = shape[(r + 1) * TEMPLATE_ROW_CHARS + c];
            int value = cell == 'd' ? MASK_FLOOR : cell == 'p' ? MASK_FEATURE : 0;
            int mx = 0, my = 0;
            Orient(c, r, w, h, orientation, mx, my);
            if (value != 0 && mx < ROOM_TEMPLATE_STRIDE && my < ROOM_TEMPLATE_STRIDE)
                RoomMask[my * ROOM_TEMPLATE_STRIDE + mx] = std::uint8_t(value);
        }
}

void StampRoom() {
    Stamp(CELL_FEATURE);
}

void StampRoomAlt() {
    Stamp(CELL_FEATURE_ALT);
}

void StampRoomClaimed() {
    ClaimFloorCount = ClaimWallCount = ClaimWriteCount = 0;
    for (int my = -1; my <= RoomHeight; ++my)
        for (int mx = -1; mx <= RoomWidth; ++mx) {
            int x = RoomOriginX + mx, y = RoomOriginY + my;
            if (!CellOnGrid(x, y, RoomLevel)) continue;
            long long cell = CellIndex(x, y, RoomLevel);
            ClaimFloorCount += MapGrid[cell] == CELL_FLOOR;
            ClaimWallCount += MapGrid[cell] == CELL_WALL;
            bool inBox = mx >= 0 && my >= 0 && mx < RoomWidth && my < RoomHeight;
            int code = inBox ? CellCode(RoomMaskAt(mx, my), CELL_FEATURE) : -1;
            if (code < 0) continue;
            MapGrid[cell] = std::uint8_t(code);
            MarkGrid[cell] = CLAIM_MARK;
            ++ClaimWriteCount;
        }
}
