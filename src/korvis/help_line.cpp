// The help line: the keys of the host program on two lines at the bottom of every frame, and
// the seed the world was made from. A notice (saved, loaded, why not) takes the first line
// for a few seconds.
#include <cstdio>
#include <cstring>

#include "korvis/host.h"
#include "quentaro.h"

std::string HelpLineKeys() {
    return "ARROWS SCROLL  NUM+- LEVEL  TAB CONSOLE  F5 SCENE";
}

std::string HelpLineSeed(unsigned seed) {
    return "F6 SAVE  F7 LOAD  F1-F4 SIZE  M MOVE  ESC QUIT  SEED " + std::to_string(seed);
}

void DrawHelpLine() {
    const int width = AppState.frameWidth;
    for (int y = 0; y < HELP_BAND_ROWS; ++y)
        for (int x = 0; x < width; ++x) PutPixel(x, y, 16, 16, 32);
    const char* notice = CurrentNotice();
    std::string first = notice[0] != '\0' ? notice : HelpLineKeys();
    std::snprintf(TextBuffer, TEXT_BUFFER_SIZE, "%s", first.c_str());
    if (notice[0] != '\0')
        DrawText(4, 22, 255, 220, 90);
    else
        DrawText(4, 22, 230, 230, 230);
    std::snprintf(TextBuffer, TEXT_BUFFER_SIZE, "%s", HelpLineSeed(Korvis.seed).c_str());
    DrawText(4, 10, 230, 230, 230);
}
