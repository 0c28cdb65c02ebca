// The text operations: TextBuffer (or a given string) drawn glyph by glyph with PutPixel, and
// for clickable labels the pick id stamped under each glyph cell. Used by the overlay, the
// browser views, the console and the engine's map views. Bytes are read as UTF-8 so names
// from the file system draw one stand-in glyph per character.
#include "draw/text.h"

#include <cstring>

#include "draw/fonts.h"
#include "draw/pixels.h"

char TextBuffer[TEXT_BUFFER_SIZE];
TextPenRecord TextPen;

namespace {

// Base letters of U+00C0..U+00FF and U+0100..U+017F; '?' marks a character with no plain
// ASCII form (ligatures, signs, letters of their own), drawn as a box.
constexpr char LATIN1_BASE[] = "AAAAAA?CEEEEIIIIDNOOOOO?OUUUUY??aaaaaa?ceeeeiiiidnooooo?ouuuuy?y";
constexpr char EXTENDED_A_BASE[] = "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi??JjKk?"
                                   "LlLlLlLlLlNnNnNnn??OoOoOo??RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUu"
                                   "WwYyYZzZzZzs";
static_assert(sizeof(LATIN1_BASE) == 64 + 1);
static_assert(sizeof(EXTENDED_A_BASE) == 128 + 1);

constexpr int NO_GLYPH = -1;

// Reads the character that starts at text[index] and moves index past it. Returns a code below
// 128 the fonts can draw, or NO_GLYPH. A malformed sequence is consumed up to the first byte
// that cannot continue it, so a broken name shows one box per broken character.
int NextCode(const unsigned char* text, int length, int& index) {
    unsigned lead = text[index++];
    if (lead < 0x80) return int(lead);
    int follow;
    unsigned point;
    unsigned low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        follow = 1;
        point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        follow = 2;
        point = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        follow = 3;
        point = lead & 0x07;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
    } else {
        return NO_GLYPH;
    }
    for (int k = 0; k < follow; ++k) {
        if (index >= length) return NO_GLYPH;
        unsigned next = text[index];
        if (next < (k == 0 ? low : 0x80) || next > (k == 0 ? high : 0xBF)) return NO_GLYPH;
        point = point << 6 | (next & 0x3F);
        ++index;
    }
    char base = '?';
    if (point >= 0xC0 && point < 0x100) base = LATIN1_BASE[point - 0xC0];
    if (point >= 0x100 && point < 0x180) base = EXTENDED_A_BASE[point - 0x100];
    return base == '?' ? NO_GLYPH : int(base);
}

// The glyph for the character at TextPen.index, moving the index past it; the box glyph stands
// in wherever the font has no glyph.
const char* NextGlyph(const char* text, int length, const char* (*lookup)(int), const char* box) {
    int code = NextCode(reinterpret_cast<const unsigned char*>(text), length, TextPen.index);
    const char* glyph = code == NO_GLYPH ? nullptr : lookup(code);
    return glyph ? glyph : box;
}

void ResetPen(int x) {
    TextPen = TextPenRecord{x, 0, 0};
}

// TextBuffer is shared and callers may fill it to the brim; never read past its end.
int TextLength() {
    const void* end = std::memchr(TextBuffer, 0, TEXT_BUFFER_SIZE);
    return end ? int(static_cast<const char*>(end) - TextBuffer) : TEXT_BUFFER_SIZE;
}

// MainFont text; with an id, also the pick strip two rows below the picture, covering every
// cell and the spacing column after it.
void DrawMainText(int x, int y, int r, int g, int b, const int* id) {
    ResetPen(x);
    int length = TextLength();
    while (TextPen.index < length) {
        const char* glyph = NextGlyph(TextBuffer, length, MainGlyph, SmallBoxGlyph);
        int w = glyph[0] - '0';
        TextPen.width = w;
        for (int i = 1; i <= 9; ++i) {
            for (int j = 0; j < w; ++j) {
                if (glyph[8 * i + j] != '0') PutPixel(TextPen.x + j, y - i + 2, r, g, b);
                if (id) PutPickId(TextPen.x + j, y - i, *id);
            }
            if (id) PutPickId(TextPen.x + w, y - i, *id);
        }
        TextPen.x += w + 1;
    }
}

// LargeFont rows run downward from y - 1 (direction -1) or upward from y + 1 (direction +1).
void DrawLarge(const char* text, int length, int x, int y, int direction, int r, int g, int b) {
    ResetPen(x);
    while (TextPen.index < length) {
        const char* glyph = NextGlyph(text, length, LargeGlyph, LargeBoxGlyph);
        TextPen.width = 8;
        for (int i = 1; i <= 12; ++i)
            for (int j = 0; j < 8; ++j)
                if (glyph[10 * i + j] != '0') PutPixel(TextPen.x + j, y + direction * i, r, g, b);
        TextPen.x += 8;
    }
}

}  // namespace

int TextWidth(const char* text) {
    const TextPenRecord saved = TextPen;
    const int length = int(std::strlen(text));
    ResetPen(0);
    while (TextPen.index < length)
        TextPen.x += NextGlyph(text, length, MainGlyph, SmallBoxGlyph)[0] - '0' + 1;
    const int width = TextPen.x;
    TextPen = saved;
    return width;
}

void DrawText(int x, int y, int r, int g, int b) {
    DrawMainText(x, y, r, g, b, nullptr);
}

void DrawPickText(int x, int y, int r, int g, int b, int id) {
    DrawMainText(x, y, r, g, b, &id);
}

void DrawShadowText(int x, int y, int r, int g, int b) {
    DrawText(x, y + 1, 0, 0, 0);
    DrawText(x, y, r, g, b);
}

void DrawNarrowText(int x, int y, int r, int g, int b) {
    ResetPen(x);
    int length = TextLength();
    while (TextPen.index < length) {
        const char* glyph = NextGlyph(TextBuffer, length, NarrowGlyph, SmallBoxGlyph);
        int w = glyph[0] - '0';
        TextPen.width = w;
        for (int i = 1; i <= 9; ++i)
            for (int j = 0; j < w; ++j)
                if (glyph[8 * i + j] != '0') PutPixel(TextPen.x + j + 1, y + i - 2, r, g, b);
        TextPen.x += w + 1;
    }
}

void DrawLargeText(int x, int y, int r, int g, int b) {
    DrawLarge(TextBuffer, TextLength(), x, y, -1, r, g, b);
}

void DrawLargeString(const std::string& s, int x, int y, int r, int g, int b) {
    DrawLarge(s.data(), int(s.size()), x, y, +1, r, g, b);
}
