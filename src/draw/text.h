// Text in the bitmap fonts. Callers format into the shared TextBuffer, then draw it
// at a pen position in a colour; y grows upward as everywhere in the frame.
#pragma once

#include <string>

constexpr int TEXT_BUFFER_SIZE = 256;

struct TextPenRecord {
    int x = 0;      // pen position
    int width = 0;  // width of the current glyph
    int index = 0;  // index of the current character
};

extern char TextBuffer[TEXT_BUFFER_SIZE];
extern TextPenRecord TextPen;

// Width in pixels of `text` in the main font, as DrawText lays it out.
int TextWidth(const char* text);
void DrawText(int x, int y, int r, int g, int b);
void DrawPickText(int x, int y, int r, int g, int b, int id);
void DrawShadowText(int x, int y, int r, int g, int b);
void DrawNarrowText(int x, int y, int r, int g, int b);
void DrawLargeText(int x, int y, int r, int g, int b);
void DrawLargeString(const std::string& s, int x, int y, int r, int g, int b);
