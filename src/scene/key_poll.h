// The live key poll of the engine: whether a key or mouse button is held right now,
// whatever window has the focus. Codes are virtual-key codes (1 left, 2 right and
// 4 middle button; 16, 17, 18 either Shift, Ctrl, Alt).
#pragma once

int KeyDown(int virtualKey);  // 1 while held, else 0
int KeyUp(int virtualKey);    // 1 while not held, else 0
