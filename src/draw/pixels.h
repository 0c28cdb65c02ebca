// Single-pixel writes: the only way anything reaches the frame buffers. Each write
// drops coordinates outside the frame silently; colours keep their low 8 bits.
#pragma once

void PutPixel(int x, int y, int r, int g, int b);
void PutSavedPixel(int x, int y, int r, int g, int b);
void PutPickId(int x, int y, int id);
