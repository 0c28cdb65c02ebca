// Names of the virtual-key codes: the program's key vocabulary on every system. The shell,
// the engine and each backend's translation at its edge share these; letters and digits are
// their own upper-case ASCII codes ('A' = 65, '0' = 48) and need no name.
#pragma once

namespace vk {

// Mouse buttons, as the live key poll names them.
constexpr int LBUTTON = 1, RBUTTON = 2, MBUTTON = 4;

constexpr int BACK = 8, TAB = 9, CLEAR = 12, RETURN = 13;
constexpr int SHIFT = 16, CONTROL = 17, MENU = 18;  // either Shift, Ctrl, Alt
constexpr int PAUSE = 19, CAPITAL = 20, ESCAPE = 27, SPACE = 32;
constexpr int PRIOR = 33, NEXT = 34, END = 35, HOME = 36;
constexpr int LEFT = 37, UP = 38, RIGHT = 39, DOWN = 40;
constexpr int SELECT = 41, EXECUTE = 43, SNAPSHOT = 44, INSERT = 45, DELETE_KEY = 46, HELP = 47;
constexpr int LWIN = 91, RWIN = 92, APPS = 93;
constexpr int NUMPAD0 = 96;  // keypad digits are NUMPAD0 + digit
constexpr int MULTIPLY = 106, ADD = 107, SEPARATOR = 108, SUBTRACT = 109, DECIMAL = 110,
              DIVIDE = 111;
constexpr int F1 = 112, F2 = 113, F3 = 114, F4 = 115, F5 = 116, F6 = 117, F7 = 118, F8 = 119,
              F9 = 120, F10 = 121, F11 = 122, F12 = 123;  // F13..F24 follow on
constexpr int NUMLOCK = 144, SCROLL = 145;
constexpr int LSHIFT = 160, RSHIFT = 161, LCONTROL = 162, RCONTROL = 163, LMENU = 164, RMENU = 165;
constexpr int OEM_1 = 186, OEM_PLUS = 187, OEM_COMMA = 188, OEM_MINUS = 189, OEM_PERIOD = 190,
              OEM_2 = 191, OEM_3 = 192;                                           // ; = , - . / `
constexpr int OEM_4 = 219, OEM_5 = 220, OEM_6 = 221, OEM_7 = 222, OEM_102 = 226;  // [ \ ] ' <

}  // namespace vk
