// Rectangle checks and fills over the levels of MapGrid: the dungeon generator's claims, and
// grid utilities for the callers of the generator. Rectangles are inclusive of both corners.
#pragma once

// Whether cell (x, y) of `level` lies on the grid: 0..MAP_WIDTH-1 and 0..LEVEL_COUNT-1.
bool CellOnGrid(int x, int y, int level);

// 1 if any cell of x1..x2 by y1..y2 is off the grid (on either axis or by its level) or holds
// a code other than `value`; 0 otherwise, and for an empty rectangle, which reads no cell.
int AreaMismatch(int x1, int y1, int x2, int y2, int level, int value);
// Writes `value` into the whole rectangle and returns 0 when every cell was CELL_EMPTY; else
// returns 1 and writes nothing.
int ClaimArea(int x1, int y1, int x2, int y2, int level, int value);
// 1 when the 2x2 block at (x, y) shows two floor cells that touch only at a corner, the other
// two being wall; 0 otherwise, and for a block that does not lie wholly on the grid.
int HasDiagonalGap(int x, int y, int level);
// 1 at the first block position of the rectangle where HasDiagonalGap holds, 0 if none does.
int AreaHasDiagonalGap(int x1, int y1, int x2, int y2, int level);
// Writes `value` into the cells of the rectangle that lie inside the map's outer ring.
void FillInterior(int x1, int y1, int x2, int y2, int level, int value);
