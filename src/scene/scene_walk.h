// The walker of the 3D scene (unit record 1): stepping with the mouse buttons and Z, the
// ground check, collision with wall cells, head bob and crossing into neighbouring cells.
#pragma once

constexpr int WALKER = 1;  // walking, collision and the edge overlay always use this record

// The grid code at the walker's cell moved by floor(dx), floor(dy), floor(dz); 0 for a cell
// outside the grid (or an offset that is not a finite number).
int CellAtOffset(float dx, float dy, float dz);
// Pushes the walker's in-cell offset out of wall cells around (a, b, c); 1 when a diagonal
// push happened.
int ResolveCollision(float a, float b, float c);
// One frame of walking without drawing: the steps, ground check, collision, head bob and
// cell crossing. The walker never leaves the grid.
void WalkScene();
// The camera follows the cursor while a mouse button is held.
void LookWithMouse();
// The camera as the cursor sets it: yaw 20 - 2 x its column, pitch minus its row.
void AimCameraAtCursor();
