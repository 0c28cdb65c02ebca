// Input recorded by the system-wide hooks between two passes of the main loop, and
// the cursor in frame coordinates.
#pragma once

#include "platform/platform.h"

struct MouseStateRecord {
    int rightPress = 0;  // 1 when the right button went down since the cell was cleared
};

extern int KeyState[256];  // 1: a key-down of that virtual key arrived since the last pass
extern MouseStateRecord MouseState;

constexpr int HC_ACTION = 0;

void InstallInputHooks();
long KeyboardHook(int code, unsigned message, const platform::Event& event);
long MouseHook(int code, unsigned message, const platform::Event& event);
int CursorColumn();  // 0 .. frameWidth - 1
int CursorRow();     // 0 .. frameHeight - 1, row 0 at the bottom
