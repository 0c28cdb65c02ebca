// The engine's polling primitives over the platform's live key state; the console, the
// scene walk, the view and window keys and unit control read keys only through these.
#include "scene/key_poll.h"

#include "platform/platform.h"

int KeyDown(int virtualKey) {
    return platform::Sys().KeyHeld(virtualKey) ? 1 : 0;
}

int KeyUp(int virtualKey) {
    return KeyDown(virtualKey) ? 0 : 1;
}
