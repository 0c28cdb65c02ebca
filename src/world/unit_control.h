// Unit orders and their execution: an order sends a unit to a cell or makes it follow the
// unit standing there, and a periodic pass moves ordered units one cell along planned paths.
#pragma once

// Orders unit u to cell (x, y): a follow order when any record 1.. stands on that cell
// (in use or not, on any level, the unit itself included), otherwise a move order. A unit
// outside the table, or a call before the tables exist, changes nothing.
void OrderUnit(int u, int x, int y);
// While the right button is held, sends record 0 toward the cell under the cursor, with
// cells of 32 x 24 frame pixels counted from the view position.
void OrderPlayerUnitAtCursor();
// Once per main-loop pass: on every 30th pass moves each ordered unit (records 1..) one cell,
// taking at most 15 units whose order is new.
void UpdateUnitMoves();
