// Text drawing (to be written).
#include "draw/text.h"

char TextBuffer[TEXT_BUFFER_SIZE];
TextPenRecord TextPen;

void DrawText(int, int, int, int, int) {}
void DrawPickText(int, int, int, int, int, int) {}
void DrawShadowText(int, int, int, int, int) {}
void DrawNarrowText(int, int, int, int, int) {}
void DrawLargeText(int, int, int, int, int) {}
void DrawLargeString(const std::string&, int, int, int, int, int) {}
