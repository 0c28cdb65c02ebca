// The engine's polling primitives over the platform's key state; the console, the scene walk,
// the view and window keys and unit control read keys only through these, and the engine's
// host looks through them at what the engine will see.
#include "scene/key_poll.h"

#include "platform/platform.h"

namespace {

constexpr int KEY_CODES = 256;
bool peeked[KEY_CODES];  // a peek took a press from the platform: the next KeyDown answers 1
bool askedSinceForget[KEY_CODES];

bool Valid(int virtualKey) {
    return virtualKey >= 0 && virtualKey < KEY_CODES;
}

}  // namespace

int KeyDown(int virtualKey) {
    // The press first: a key pressed and released since the last question is not held now.
    const bool pressed = platform::Sys().KeyPressed(virtualKey);
    bool down = platform::Sys().KeyHeld(virtualKey) || pressed;
    if (Valid(virtualKey)) {
        down = down || peeked[virtualKey];
        peeked[virtualKey] = false;
        askedSinceForget[virtualKey] = true;
    }
    return down ? 1 : 0;
}

int KeyUp(int virtualKey) {
    return KeyDown(virtualKey) ? 0 : 1;
}

int KeyDownPeek(int virtualKey) {
    if (!Valid(virtualKey)) return 0;
    // The platform gives a press only once; it is kept here for the next KeyDown.
    if (platform::Sys().KeyPressed(virtualKey)) peeked[virtualKey] = true;
    return peeked[virtualKey] || platform::Sys().KeyHeld(virtualKey) ? 1 : 0;
}

int KeyHeldNow(int virtualKey) {
    return platform::Sys().KeyHeld(virtualKey) ? 1 : 0;
}

void ForgetUnaskedPresses(const std::vector<int>& keys) {
    for (int key : keys) {
        if (!Valid(key)) continue;
        if (!askedSinceForget[key]) KeyDown(key);
        askedSinceForget[key] = false;
    }
}
