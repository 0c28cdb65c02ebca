// Translation of X keys and buttons into the program's Windows vocabulary: virtual-key
// codes and the hook messages a Windows system would report. Used by x11_input.cpp.
#pragma once

#include <X11/Xlib.h>

#include <array>
#include <string_view>

#include "platform/platform.h"

namespace platform {

// Virtual-key code of a keysym, 0 when the program has no code for it.
int VirtualKeyFromKeysym(KeySym keysym);

// Virtual-key code of a key from its keysyms at level 0 and at level 1 (the NumLock
// level of the keypad): keypad digits and the decimal key keep their digit meaning
// whatever the NumLock state, as the keys are named on the keypad. A key with no code at
// level 0 and a digit at level 1 is that digit's key.
int VirtualKeyOfKey(KeySym levelZero, KeySym levelOne);

// What the server tells of one key: its keysyms at levels 0 and 1 of each of the four groups
// (NoSymbol where a group or level is absent) and its XKB name ("AD11"; empty when unknown).
struct KeyDescription {
    KeySym groups[4][2] = {};
    std::string_view name;
};

// Virtual-key code of a key under every layout, as a Windows system gives one to each key: the
// code of group 0 as above; else a letter or digit the key carries in another group; else the
// code of the US layout's key at the same place; 0 for a key with no keysym at all.
int VirtualKeyOfKey(const KeyDescription& key);

// The hook message of a key event: key-downs with Alt held, Alt itself and F10 are
// system key-downs.
unsigned KeyMessage(int virtualKey, bool press, bool altHeld);

// True when a key of code `keyVirtualKey` being held makes `polled` held: 16, 17 and 18
// stand for either Shift, Ctrl or Alt.
bool PolledKeyCovers(int polled, int keyVirtualKey);

// The hook message of a pointer button press (1 left, 2 middle, 3 right, 4/5 wheel);
// 0 for buttons the program has no message for.
unsigned ButtonMessage(int button);

// Virtual-key code of each keycode under the keyboard's current mapping.
using KeycodeMap = std::array<unsigned char, 256>;
KeycodeMap ReadKeycodeMap(Display* display);

}  // namespace platform
