// X keysyms and buttons in the program's Windows vocabulary: the virtual-key table, the
// keycode map read once from the server, and which key events are system key-downs.
// The input capture and the live key poll of x11_input.cpp use it.
#include "platform/x11/x11_keymap.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstring>

#include "platform/platform.h"
#include "platform/virtual_keys.h"

namespace platform {

namespace {

struct KeysymCode {
    KeySym keysym;
    int virtualKey;
};

// Keys other than letters, digits and function keys, with the code Windows gives them.
constexpr KeysymCode NAMED_KEYS[] = {
    {XK_BackSpace, 8},
    {XK_Tab, 9},
    {XK_ISO_Left_Tab, 9},
    {XK_Clear, 12},
    {XK_Return, 13},
    {XK_Pause, 19},
    {XK_Caps_Lock, 20},
    {XK_Escape, 27},
    {XK_space, 32},
    {XK_Prior, 33},
    {XK_Next, 34},
    {XK_End, 35},
    {XK_Home, 36},
    {XK_Left, 37},
    {XK_Up, 38},
    {XK_Right, 39},
    {XK_Down, 40},
    {XK_Select, 41},
    {XK_Execute, 43},
    {XK_Print, 44},
    {XK_Insert, 45},
    {XK_Delete, 46},
    {XK_Help, 47},
    {XK_Super_L, 91},
    {XK_Super_R, 92},
    {XK_Menu, 93},
    {XK_KP_Multiply, 106},
    {XK_KP_Add, 107},
    {XK_KP_Separator, 108},
    {XK_KP_Subtract, 109},
    {XK_KP_Decimal, 110},
    {XK_KP_Divide, 111},
    {XK_KP_Enter, 13},
    {XK_KP_Tab, 9},
    {XK_KP_Space, 32},
    {XK_KP_Begin, 12},
    {XK_KP_Prior, 33},
    {XK_KP_Next, 34},
    {XK_KP_End, 35},
    {XK_KP_Home, 36},
    {XK_KP_Left, 37},
    {XK_KP_Up, 38},
    {XK_KP_Right, 39},
    {XK_KP_Down, 40},
    {XK_KP_Insert, 45},
    {XK_KP_Delete, 46},
    {XK_Num_Lock, 144},
    {XK_Scroll_Lock, 145},
    {XK_Shift_L, 160},
    {XK_Shift_R, 161},
    {XK_Control_L, 162},
    {XK_Control_R, 163},
    {XK_Alt_L, 164},
    {XK_Meta_L, 164},
    {XK_Alt_R, 165},
    {XK_Meta_R, 165},
    {XK_ISO_Level3_Shift, 165},
    {XK_semicolon, 186},
    {XK_equal, 187},
    {XK_comma, 188},
    {XK_minus, 189},
    {XK_period, 190},
    {XK_slash, 191},
    {XK_grave, 192},
    {XK_bracketleft, 219},
    {XK_backslash, 220},
    {XK_bracketright, 221},
    {XK_apostrophe, 222},
    {XK_less, 226},
};

bool IsKeypadDigit(KeySym keysym) {
    return (keysym >= XK_KP_0 && keysym <= XK_KP_9) || keysym == XK_KP_Decimal ||
           keysym == XK_KP_Separator;
}

// The US layout's main block by XKB key name: row AE (digits) to AB (bottom letters), each
// key numbered from 01 at the left. A character stands for the key the US layout has there,
// read as its keysym (the ASCII keysyms have the character's own value).
constexpr struct {
    char row;
    std::string_view keys;
} US_ROWS[] = {
    {'E', "1234567890-="},
    {'D', "qwertyuiop[]"},
    {'C', "asdfghjkl;'\\"},  // AC12 is another name of the key BKSL names
    {'B', "zxcvbnm,./"},
};

constexpr struct {
    std::string_view name;
    char key;
} US_OTHER_KEYS[] = {{"TLDE", '`'}, {"BKSL", '\\'}, {"LSGT", '<'}};

// Code of the key the US layout has at the place XKB names `name`; 0 for other places.
int UsCodeAt(std::string_view name) {
    for (const auto& other : US_OTHER_KEYS)
        if (other.name == name) return VirtualKeyFromKeysym(KeySym(other.key));
    if (name.size() != 4 || name[0] != 'A' || name[2] < '0' || name[2] > '9' || name[3] < '0' ||
        name[3] > '9')
        return 0;
    std::size_t column = std::size_t(name[2] - '0') * 10 + std::size_t(name[3] - '0');
    for (const auto& row : US_ROWS)
        if (row.row == name[1] && column >= 1 && column <= row.keys.size())
            return VirtualKeyFromKeysym(KeySym(row.keys[column - 1]));
    return 0;
}

bool IsLetterOrDigitCode(int code) {
    return (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
}

}  // namespace

int VirtualKeyFromKeysym(KeySym keysym) {
    if (keysym >= XK_a && keysym <= XK_z) return int(keysym - XK_a) + 'A';
    if (keysym >= XK_A && keysym <= XK_Z) return int(keysym - XK_A) + 'A';
    if (keysym >= XK_0 && keysym <= XK_9) return int(keysym - XK_0) + '0';
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return int(keysym - XK_KP_0) + 96;
    if (keysym >= XK_F1 && keysym <= XK_F24) return int(keysym - XK_F1) + 112;
    for (const KeysymCode& named : NAMED_KEYS)
        if (named.keysym == keysym) return named.virtualKey;
    return 0;
}

int VirtualKeyOfKey(KeySym levelZero, KeySym levelOne) {
    if (IsKeypadKey(levelZero) && IsKeypadDigit(levelOne)) return VirtualKeyFromKeysym(levelOne);
    int code = VirtualKeyFromKeysym(levelZero);
    // Layouts whose top row puts punctuation first and digits on the Shift level: the key is
    // still that digit's key, as Windows codes it.
    if (code == 0 && levelOne >= XK_0 && levelOne <= XK_9) return VirtualKeyFromKeysym(levelOne);
    return code;
}

int VirtualKeyOfKey(const KeyDescription& key) {
    if (int code = VirtualKeyOfKey(key.groups[0][0], key.groups[0][1])) return code;
    // A second layout beside a non-Latin one (us,ru): its letters name the key.
    for (int group = 1; group < 4; ++group) {
        int code = VirtualKeyOfKey(key.groups[group][0], key.groups[group][1]);
        if (IsLetterOrDigitCode(code)) return code;
    }
    bool hasSymbol = false;
    for (const auto& group : key.groups)
        for (KeySym keysym : group) hasSymbol = hasSymbol || keysym != NoSymbol;
    if (!hasSymbol) return 0;
    if (int code = UsCodeAt(key.name)) return code;
    // '+' has no key of its own on the US layout (it is Shift and '='). A key with '+' unshifted
    // is read by its place first, so that layouts keeping '+' where US has ']' (de, it, es)
    // still have a ']' key, the thumbnails' next page; Windows' '+' code is left for keys the
    // server does not name.
    if (key.groups[0][0] == XK_plus) return vk::OEM_PLUS;
    return 0;
}

unsigned KeyMessage(int virtualKey, bool press, bool altHeld) {
    bool system =
        altHeld || virtualKey == vk::LMENU || virtualKey == vk::RMENU || virtualKey == vk::F10;
    if (press) return system ? MSG_SYSKEYDOWN : MSG_KEYDOWN;
    return system ? MSG_SYSKEYUP : MSG_KEYUP;
}

bool PolledKeyCovers(int polled, int keyVirtualKey) {
    switch (polled) {
    case vk::SHIFT:
        return keyVirtualKey == vk::LSHIFT || keyVirtualKey == vk::RSHIFT;
    case vk::CONTROL:
        return keyVirtualKey == vk::LCONTROL || keyVirtualKey == vk::RCONTROL;
    case vk::MENU:
        return keyVirtualKey == vk::LMENU || keyVirtualKey == vk::RMENU;
    default:
        return polled == keyVirtualKey;
    }
}

unsigned ButtonMessage(int button) {
    switch (button) {
    case Button1:
        return MSG_LBUTTONDOWN;
    case Button2:
        return MSG_MBUTTONDOWN;
    case Button3:
        return MSG_RBUTTONDOWN;
    case Button4:
    case Button5:
        return MSG_MOUSEWHEEL;
    default:
        return 0;
    }
}

KeycodeMap ReadKeycodeMap(Display* display) {
    KeycodeMap map{};
    int minCode = 0, maxCode = 0;
    XDisplayKeycodes(display, &minCode, &maxCode);
    int opcode, event, error, major = XkbMajorVersion, minor = XkbMinorVersion;
    XkbDescPtr xkb = nullptr;
    if (XkbQueryExtension(display, &opcode, &event, &error, &major, &minor))
        xkb = XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
    if (xkb != nullptr) {
        // Without names the keys still get what their keysyms give.
        bool named = XkbGetNames(display, XkbKeyNamesMask, xkb) == Success &&
                     xkb->names != nullptr && xkb->names->keys != nullptr;
        for (int code = xkb->min_key_code; code <= xkb->max_key_code && code < 256; ++code) {
            KeyDescription key;
            int groups = std::min(int(XkbKeyNumGroups(xkb, code)), 4);
            for (int group = 0; group < groups; ++group) {
                // A one-level key repeats its keysym on level 1, as the core mapping shows it.
                int width = XkbKeyGroupWidth(xkb, code, group);
                for (int level = 0; level < 2 && width > 0; ++level)
                    key.groups[group][level] =
                        XkbKeySymEntry(xkb, code, std::min(level, width - 1), group);
            }
            if (named) {
                const char* name = xkb->names->keys[code].name;
                key.name = std::string_view(name, strnlen(name, XkbKeyNameLength));
            }
            map[code] = static_cast<unsigned char>(VirtualKeyOfKey(key));
        }
        XkbFreeKeyboard(xkb, 0, True);
        return map;
    }
    // Without XKB the core mapping has groups 1 and 2, two levels each, in its first four
    // columns, and no key names.
    int perCode = 0;
    KeySym* keysyms =
        XGetKeyboardMapping(display, KeyCode(minCode), maxCode - minCode + 1, &perCode);
    if (keysyms == nullptr) return map;
    for (int code = minCode; code <= maxCode && code < 256; ++code) {
        const KeySym* row = keysyms + std::ptrdiff_t(code - minCode) * perCode;
        KeyDescription key;
        for (int column = 0; column < std::min(perCode, 4); ++column)
            key.groups[column / 2][column % 2] = row[column];
        map[code] = static_cast<unsigned char>(VirtualKeyOfKey(key));
    }
    XFree(keysyms);
    return map;
}

}  // namespace platform
