// The overlay and its right presses (to be written).
#include "shell/overlay.h"

void DrawCursorCross() {}
void DrawOverlay() {}
void HandleOverlayClick() {}
