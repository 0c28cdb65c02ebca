// The key poll of the engine: whether a key or mouse button is held now or was pressed since
// it was last asked about (such a press counts once), whatever window has the focus. Codes
// are virtual-key codes (1 left, 2 right and 4 middle button; 16, 17, 18 either Shift,
// Ctrl, Alt).
#pragma once

#include <vector>

int KeyDown(int virtualKey);  // 1 while held or once after a press, else 0
int KeyUp(int virtualKey);    // the inverse of KeyDown, asking the same question

// What KeyDown would answer now, without taking the press from the engine's next KeyDown: the
// host looks with it at the keys the engine polls.
int KeyDownPeek(int virtualKey);
// Whether the key is down at this moment, leaving its presses to KeyDown: the pauses that pace
// a held key's repeat are made only while it is still held, so quick presses follow each
// other without waiting.
int KeyHeldNow(int virtualKey);
// Asks about each of `keys` that nobody asked about since the previous call for it and drops
// the answer, so that a press no one took then (a letter typed while the console was closed)
// does not act later, when an owner starts asking.
void ForgetUnaskedPresses(const std::vector<int>& keys);
