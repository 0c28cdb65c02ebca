// The top-down tile map of one level: terrain and dungeon pictures, the selected unit's
// path and ring, and every unit, town and well with its pick id, hit-point bar and caption.
#pragma once

constexpr int TILE_SIZE = 16;
constexpr int PATH_MARKER_SLOT = 22;   // the path and ring marker picture
constexpr int UNIT_PICK_BASE = 10000;  // a click on unit i reads back UNIT_PICK_BASE + i

// Draws level ViewLevel from cell (ViewX, ViewY) at the frame's origin. Cells beyond the
// map's edges show nothing, so the frame keeps what was under them.
void DrawTileMap();
// The same without the units' captions, for a host that lays them out itself.
void DrawTileMapWithoutCaptions();
// Whether the tile map draws record i on level ViewLevel (when its cell is in view).
bool UnitOnTileMap(int i);
// Opaque and keyed copies of a picture with its bottom-left pixel at (x, y). The keyed copy
// skips (255, 0, 246) and black. A slot outside the table or without pixels draws nothing.
void DrawTile(int x, int y, int slot);
void DrawTileKeyed(int x, int y, int slot);
// Writes id over columns x..x + width - 1 and rows y + 1..y + height of the picture's area.
void StampTilePickId(int x, int y, int slot, int id);
// Filled length of a hit-point bar, 0..14 pixels, also for a maximum of 0 and for negative
// or undefined hit points.
int HitPointBarLength(float hitPoints, float maxHitPoints);
// The picture slot of a map cell code, or -1 for codes without a picture.
int TileSlotOfCode(int code);
