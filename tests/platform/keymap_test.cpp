// X keys and buttons in the program's Windows vocabulary.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <string>
#include <string_view>

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

int CodeOf(std::string_view name, KeySym levelZero, KeySym levelOne = NoSymbol) {
    return platform::VirtualKeyOfKey(
        platform::KeyDescription{.groups = {{levelZero, levelOne}}, .name = name});
}

TEST(Keymap, KeysWithoutACodeTakeTheCodeOfTheUsKeyAtTheirPlace) {
    // German: the paging keys '[' and ']' sit where the US layout has them.
    EXPECT_EQ(CodeOf("AD11", XK_udiaeresis, XK_Udiaeresis), 219);
    EXPECT_EQ(CodeOf("AD12", XK_plus, XK_asterisk), 221);
    EXPECT_EQ(CodeOf("AE11", XK_ssharp, XK_question), 189);
    EXPECT_EQ(CodeOf("AE12", XK_dead_acute, XK_dead_grave), 187);
    EXPECT_EQ(CodeOf("TLDE", XK_dead_circumflex, XK_degree), 192);
    EXPECT_EQ(CodeOf("BKSL", XK_numbersign, XK_apostrophe), 220);
    EXPECT_EQ(CodeOf("AC12", XK_numbersign, XK_apostrophe), 220);
    // French: ',' and ';' keep their own codes; ':' beside them is the '.' key.
    EXPECT_EQ(CodeOf("AE11", XK_parenright, XK_degree), 189);
    EXPECT_EQ(CodeOf("AD11", XK_dead_circumflex, XK_dead_diaeresis), 219);
    EXPECT_EQ(CodeOf("AB09", XK_colon, XK_slash), 190);
    EXPECT_EQ(CodeOf("AB10", XK_exclam, XK_section), 191);
    EXPECT_EQ(CodeOf("AB07", XK_comma, XK_question), 188);
    EXPECT_EQ(CodeOf("AB08", XK_semicolon, XK_period), 186);
    // Russian alone: the letters by place.
    EXPECT_EQ(CodeOf("AC01", XK_Cyrillic_ef, XK_Cyrillic_EF), 'A');
    EXPECT_EQ(CodeOf("AB08", XK_Cyrillic_be, XK_Cyrillic_BE), 188);
    EXPECT_EQ(CodeOf("AB10", XK_period, XK_comma), 190);
    // Each place of the main block, through a key whose keysym has no code.
    const struct {
        const char* row;
        int codes[12];
    } rows[] = {
        {"AE", {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 189, 187}},
        {"AD", {'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', 219, 221}},
        {"AC", {'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', 186, 222, 220}},
        {"AB", {'Z', 'X', 'C', 'V', 'B', 'N', 'M', 188, 190, 191}},
    };
    for (const auto& row : rows) {
        for (int column = 1; column <= 13; ++column) {
            std::string name = row.row + std::to_string(100 + column).substr(1);
            int expected = column <= 12 ? row.codes[column - 1] : 0;
            EXPECT_EQ(CodeOf(name, XK_EuroSign), expected) << name;
        }
    }
    EXPECT_EQ(CodeOf("LSGT", XK_EuroSign), 226);
}

TEST(Keymap, KeysWithACodeOrNoPlaceAreReadAsBefore) {
    // The US layout and keysyms with a code ignore the place: an AZERTY 'a' is 'A', not 'Q'.
    EXPECT_EQ(CodeOf("AD11", XK_bracketleft, XK_braceleft), 219);
    EXPECT_EQ(CodeOf("AD12", XK_bracketright, XK_braceright), 221);
    EXPECT_EQ(CodeOf("AC01", XK_a, XK_A), 65);
    EXPECT_EQ(CodeOf("AD01", XK_a, XK_A), 65);
    EXPECT_EQ(CodeOf("AE12", XK_equal, XK_plus), 187);
    EXPECT_EQ(CodeOf("AE01", XK_ampersand, XK_1), '1');
    EXPECT_EQ(CodeOf("AB01", XK_less, XK_greater), 226);
    // Places outside the table, or no name at all, give nothing; neither does an empty key.
    EXPECT_EQ(CodeOf("", XK_udiaeresis, XK_Udiaeresis), 0);
    EXPECT_EQ(CodeOf("AE13", XK_yen, XK_bar), 0);
    EXPECT_EQ(CodeOf("I120", XK_EuroSign), 0);
    EXPECT_EQ(CodeOf("AC01", NoSymbol), 0);
    // '+' unshifted where the place is unknown is the '+' key Windows reports.
    EXPECT_EQ(CodeOf("", XK_plus, XK_asterisk), 187);
    EXPECT_EQ(CodeOf("AE11", XK_plus, XK_question), 189);
}

TEST(Keymap, LettersOfAnotherGroupComeBeforeThePlace) {
    using platform::KeyDescription;
    using platform::VirtualKeyOfKey;
    // ru,us: the US group names the Russian letters.
    EXPECT_EQ(VirtualKeyOfKey(KeyDescription{
                  .groups = {{XK_Cyrillic_ef, XK_Cyrillic_EF}, {XK_a, XK_A}}, .name = "AC01"}),
              'A');
    // ru,fr: the French letter wins over the place ('A' at AD01, 'M' where US has ';').
    EXPECT_EQ(
        VirtualKeyOfKey(KeyDescription{
            .groups = {{XK_Cyrillic_shorti, XK_Cyrillic_SHORTI}, {XK_a, XK_A}}, .name = "AD01"}),
        'A');
    EXPECT_EQ(
        VirtualKeyOfKey(KeyDescription{
            .groups = {{XK_Cyrillic_zhe, XK_Cyrillic_ZHE}, {}, {XK_m, XK_M}}, .name = "AC10"}),
        'M');
    // A digit on another group's Shift level counts; its punctuation does not.
    EXPECT_EQ(VirtualKeyOfKey(KeyDescription{
                  .groups = {{XK_Greek_alpha, XK_Greek_ALPHA}, {XK_agrave, XK_0}}, .name = "AC01"}),
              '0');
    EXPECT_EQ(VirtualKeyOfKey(KeyDescription{
                  .groups = {{XK_Cyrillic_be, XK_Cyrillic_BE}, {XK_semicolon, XK_period}},
                  .name = "AB08"}),
              188);
    // Group 0 with a code is never overridden, and a key seen only in group 1 has a place.
    EXPECT_EQ(VirtualKeyOfKey(KeyDescription{
                  .groups = {{XK_bracketleft, XK_braceleft}, {XK_Cyrillic_ha, XK_Cyrillic_HA}},
                  .name = "AD11"}),
              219);
    EXPECT_EQ(VirtualKeyOfKey(KeyDescription{.groups = {{}, {XK_Cyrillic_ha}}, .name = "AD11"}),
              219);
    EXPECT_EQ(VirtualKeyOfKey(KeyDescription{.groups = {{}, {XK_b, XK_B}}, .name = ""}), 'B');
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
