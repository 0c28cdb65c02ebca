// The current room: a template turned into RoomMask in one of four orientations, and the
// stamps that write it into a level of MapGrid at the room's origin.
#pragma once

constexpr int MASK_FLOOR = 1;
constexpr int MASK_FEATURE = 3;

// The current room, shared by the generator and the stamps; kept after a generator call.
extern int RoomWidth, RoomHeight;     // after orientation
extern int RoomOriginX, RoomOriginY;  // grid cell of mask cell (0, 0)
extern int RoomLevel;

// What the last StampRoomClaimed found and did: floor and wall cells in the room's box and
// its one-cell border before the stamp, and the cells it wrote.
extern int ClaimFloorCount, ClaimWallCount, ClaimWriteCount;

// Mask cell (mx, my): 0, MASK_FLOOR or MASK_FEATURE; 0 for a cell beyond the mask's side.
int RoomMaskAt(int mx, int my);

// Orientations 0 and 3 keep the template's width and height, 1 and 2 swap them. An unknown
// template gives a 0 x 0 room.
void SetRoomSize(int roomTemplate, int orientation);
// Clears RoomMask, sizes the room as SetRoomSize does and copies the template in: 0 keeps it,
// 1 turns template column c, row r to mask (r, w-1-c), 2 mirrors it across the diagonal,
// 3 flips it top to bottom. Any other orientation leaves the mask clear.
void BuildRoomMask(int roomTemplate, int orientation);

// Write the mask's floor cells as CELL_FLOOR and its feature cells as CELL_FEATURE
// (StampRoomAlt: CELL_FEATURE_ALT); empty mask cells leave the grid alone. Cells off the
// grid are skipped.
void StampRoom();
void StampRoomAlt();
// StampRoom that also counts what the box and its border held (the Claim counters) and marks
// each written cell with CLAIM_MARK in MarkGrid.
void StampRoomClaimed();
