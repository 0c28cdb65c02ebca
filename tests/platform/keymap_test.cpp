// X keys and buttons in the program's Windows vocabulary.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "platform/x11/x11_keymap.h"

namespace {

using platform::VirtualKeyFromKeysym;

TEST(Keymap, EveryKeyTheProgramReadsHasItsWindowsCode) {
    for (KeySym k = XK_a; k <= XK_z; ++k) EXPECT_EQ(VirtualKeyFromKeysym(k), int(k - XK_a) + 65);
    for (KeySym k = XK_A; k <= XK_Z; ++k) EXPECT_EQ(VirtualKeyFromKeysym(k), int(k - XK_A) + 65);
    for (KeySym k = XK_0; k <= XK_9; ++k) EXPECT_EQ(VirtualKeyFromKeysym(k), int(k - XK_0) + 48);
    for (KeySym k = XK_F1; k <= XK_F12; ++k)
        EXPECT_EQ(VirtualKeyFromKeysym(k), int(k - XK_F1) + 112);
    for (KeySym k = XK_KP_0; k <= XK_KP_9; ++k)
        EXPECT_EQ(VirtualKeyFromKeysym(k), int(k - XK_KP_0) + 96);
    const struct {
        KeySym keysym;
        int virtualKey;
    } named[] = {
        {XK_Left, 37},        {XK_Up, 38},           {XK_Right, 39},        {XK_Down, 40},
        {XK_Tab, 9},          {XK_Return, 13},       {XK_KP_Enter, 13},     {XK_Escape, 27},
        {XK_Shift_L, 160},    {XK_Shift_R, 161},     {XK_Control_L, 162},   {XK_Control_R, 163},
        {XK_Alt_L, 164},      {XK_Alt_R, 165},       {XK_BackSpace, 8},     {XK_space, 32},
        {XK_comma, 188},      {XK_period, 190},      {XK_bracketleft, 219}, {XK_bracketright, 221},
        {XK_KP_Add, 107},     {XK_KP_Subtract, 109}, {XK_KP_Multiply, 106}, {XK_KP_Divide, 111},
        {XK_KP_Decimal, 110}, {XK_minus, 189},       {XK_equal, 187},       {XK_semicolon, 186},
        {XK_slash, 191},      {XK_grave, 192},       {XK_backslash, 220},   {XK_apostrophe, 222},
        {XK_Home, 36},        {XK_End, 35},          {XK_Prior, 33},        {XK_Next, 34},
        {XK_Insert, 45},      {XK_Delete, 46},       {XK_F24, 135},         {XK_Caps_Lock, 20},
    };
    for (auto n : named) EXPECT_EQ(VirtualKeyFromKeysym(n.keysym), n.virtualKey) << n.keysym;
    EXPECT_EQ(VirtualKeyFromKeysym(XK_EuroSign), 0);
    EXPECT_EQ(VirtualKeyFromKeysym(NoSymbol), 0);
}

TEST(Keymap, KeypadKeysAreReadAtTheirNumLockLevel) {
    EXPECT_EQ(platform::VirtualKeyOfKey(XK_KP_Home, XK_KP_7), 103);
    EXPECT_EQ(platform::VirtualKeyOfKey(XK_KP_Insert, XK_KP_0), 96);
    EXPECT_EQ(platform::VirtualKeyOfKey(XK_KP_Delete, XK_KP_Decimal), 110);
    // Keypad keys without a digit level, and keys outside the keypad, keep level 0.
    EXPECT_EQ(platform::VirtualKeyOfKey(XK_KP_Add, XK_KP_Add), 107);
    EXPECT_EQ(platform::VirtualKeyOfKey(XK_KP_Enter, NoSymbol), 13);
    EXPECT_EQ(platform::VirtualKeyOfKey(XK_a, XK_A), 65);
    EXPECT_EQ(platform::VirtualKeyOfKey(XK_1, XK_exclam), 49);
    EXPECT_EQ(platform::VirtualKeyOfKey(XK_Home, XK_KP_7), 36);
}

TEST(Keymap, DigitsOnTheShiftLevelStillMakeTheDigitKey) {
    // A top row with punctuation first: '&'/'1', e-acute/'2', ..., a-grave/'0'.
    EXPECT_EQ(platform::VirtualKeyOfKey(XK_ampersand, XK_1), 49);
    EXPECT_EQ(platform::VirtualKeyOfKey(XK_eacute, XK_2), 50);
    EXPECT_EQ(platform::VirtualKeyOfKey(XK_agrave, XK_0), 48);
    // Only digits: other second levels do not lend their code, and a known first level wins.
    EXPECT_EQ(platform::VirtualKeyOfKey(XK_numbersign, XK_apostrophe), 0);
    EXPECT_EQ(platform::VirtualKeyOfKey(XK_udiaeresis, XK_Udiaeresis), 0);
    EXPECT_EQ(platform::VirtualKeyOfKey(XK_comma, XK_5), 188);
}

TEST(Keymap, AltCombinationsAltAndF10AreSystemKeys) {
    using platform::KeyMessage;
    EXPECT_EQ(KeyMessage(116, true, false), platform::MSG_KEYDOWN);
    EXPECT_EQ(KeyMessage(116, true, true), platform::MSG_SYSKEYDOWN);
    EXPECT_EQ(KeyMessage(164, true, false), platform::MSG_SYSKEYDOWN);
    EXPECT_EQ(KeyMessage(165, true, false), platform::MSG_SYSKEYDOWN);
    EXPECT_EQ(KeyMessage(121, true, false), platform::MSG_SYSKEYDOWN);
    EXPECT_EQ(KeyMessage(160, true, false), platform::MSG_KEYDOWN);
    EXPECT_EQ(KeyMessage(65, false, false), platform::MSG_KEYUP);
    EXPECT_EQ(KeyMessage(65, false, true), platform::MSG_SYSKEYUP);
}

TEST(Keymap, GenericModifierPollsCoverBothSides) {
    using platform::PolledKeyCovers;
    EXPECT_TRUE(PolledKeyCovers(16, 160));
    EXPECT_TRUE(PolledKeyCovers(16, 161));
    EXPECT_FALSE(PolledKeyCovers(16, 162));
    EXPECT_TRUE(PolledKeyCovers(17, 162));
    EXPECT_TRUE(PolledKeyCovers(17, 163));
    EXPECT_TRUE(PolledKeyCovers(18, 164));
    EXPECT_TRUE(PolledKeyCovers(18, 165));
    EXPECT_FALSE(PolledKeyCovers(18, 163));
    EXPECT_FALSE(PolledKeyCovers(160, 161));
    EXPECT_TRUE(PolledKeyCovers(65, 65));
    EXPECT_FALSE(PolledKeyCovers(65, 66));
}

TEST(Keymap, ButtonsGiveTheirPressMessages) {
    EXPECT_EQ(platform::ButtonMessage(1), platform::MSG_LBUTTONDOWN);
    EXPECT_EQ(platform::ButtonMessage(2), platform::MSG_MBUTTONDOWN);
    EXPECT_EQ(platform::ButtonMessage(3), platform::MSG_RBUTTONDOWN);
    EXPECT_EQ(platform::ButtonMessage(4), platform::MSG_MOUSEWHEEL);
    EXPECT_EQ(platform::ButtonMessage(5), platform::MSG_MOUSEWHEEL);
    EXPECT_EQ(platform::ButtonMessage(8), 0u);
}

}  // namespace
