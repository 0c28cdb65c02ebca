// The bitmap fonts: tables of glyph strings indexed by character code, one '0'/'1' character
// per pixel. MainFont and NarrowFont glyphs are 11 rows of 8 (row 0 starts with the width
// digit); LargeFont glyphs are 13 rows of 10, always 8 pixels wide.
#pragma once

#include <array>

constexpr int MAIN_FONT_SIZE = 128;
constexpr int NARROW_FONT_SIZE = 256;
constexpr int LARGE_FONT_SIZE = 256;

// Some entries are not glyphs: code 96 of MainFont and NarrowFont holds a short placeholder
// text, the low control codes and a few above 125 hold their own code as decimal text, the
// codes above 142 are empty. Draw through the Glyph lookups below, never the raw entries.
extern const std::array<const char*, MAIN_FONT_SIZE> MainFont;
extern const std::array<const char*, NARROW_FONT_SIZE> NarrowFont;
extern const std::array<const char*, LARGE_FONT_SIZE> LargeFont;

// The entry of a code when it is a glyph of that font's layout, else nullptr (also for codes
// outside the table).
const char* MainGlyph(int code);
const char* NarrowGlyph(int code);
const char* LargeGlyph(int code);

// Stand-ins for characters no table can draw: a small box in each layout.
extern const char* const SmallBoxGlyph;
extern const char* const LargeBoxGlyph;
