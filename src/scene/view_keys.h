// Per-frame key handlers of the engine's screens, polled with KeyDown: the view's scrolling
// over the map and between levels, and the window's pixel scale and position.
#pragma once

extern int ViewLocked;  // while nonzero the view keys are ignored; the view is still clamped

// Arrows move the view one cell. Keypad plus and minus change the level: mode 0 not at all,
// mode 1 only where the walker (record 1) has an open cell above or below, mode 2 freely;
// each press costs 380 ms in modes 1 and 2. The view is then kept on the map.
void ScrollView(int mode);
// F1..F4 re-create the window at pixel scale 1..4; then as MoveWindowToCursor. A window that
// cannot be made at the new scale is made again at the old one.
void HandleWindowKeys();
// M moves the window's top-left corner to the mouse cursor.
void MoveWindowToCursor();
// Handles window and input events until none is pending.
void DrainMessages();
