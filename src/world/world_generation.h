// Populating the world: test units, the strategic world's capitals and wells, the
// overworld's height map and its tiles, and the uniform-rectangle check of the grids.
#pragma once

// Records 1..255 become units on the overworld's top-left corner, off the mountains.
void ScatterUnits();
// Seeds the random sequence from the calendar clock, then makes the kingdoms' capitals
// (records 1..KINGDOM_COUNT) and 210 wells after them; nextUnit ends after the last well.
void SetUpStrategicWorld();
// The same without seeding: the random sequence as the caller left it decides the places,
// so a host that seeds it itself can make the same kingdoms again.
void PlaceKingdomsAndWells();

// Midpoint displacement over the HeightMap rectangle (x0, y0)-(x1, y1), corners already set;
// true if it was subdivided further. Corners outside 0..MAP_WIDTH are refused (false).
bool GenerateHeightMap(int x0, int y0, int x1, int y1, float roughness, float maxHeight);
// Sets the unset height at (xm, ym) from the ends' mean and a random jitter, clamped to
// 1..min(maxHeight, 255); true if it was set.
bool DisplaceMidpoint(int xa, int ya, int xm, int ym, int xb, int yb, float roughness,
                      float maxHeight);
// The tile of cell (x, y) of `level` from its height; cells on the level's border and
// levels outside the grid are left alone.
void ClassifyOverworldCell(int x, int y, int level);
// 0 and the rectangle's marks cleared when every cell of it lies on the level and holds
// `tile`; 1 and nothing changed otherwise.
int ClearMarksIfUniform(int x0, int y0, int x1, int y1, int level, int tile);

// Height of HeightMap cell (x, y), 0 <= x, y <= MAP_WIDTH, at x + y * MAP_WIDTH: the row
// stride is MAP_WIDTH, so (MAP_WIDTH, y) and (0, y + 1) are the same byte.
int HeightAt(int x, int y);

// Raises a new overworld from `seed`: height map cleared, corners seeded, displacement over
// the whole map, every inner cell of level 0 classified. Other levels are left alone.
void GenerateOverworld(unsigned seed);
