// The lines at the top of every frame of the host program: the title over the backdrop strip
// (level, turn, seed), the status line (the player's kingdom, gold and towns, or the walker's
// cell in the scene) and the help line, which a notice replaces while it shows. The pass
// draws them over the engine's views.
#include <algorithm>
#include <cstdio>

#include "korvis/host.h"
#include "quentaro.h"

namespace {

constexpr int LARGE_GLYPH = 8;  // the large font's advance
constexpr int PLAYER = 1;
constexpr int BAND_R = 16, BAND_G = 16, BAND_B = 32;
constexpr int KINGDOM_COLOURS[][3] = {
    {70, 150, 255}, {235, 60, 50}, {250, 215, 40}, {70, 210, 90}, {210, 100, 230}};

// A title part on a dark plate, so that the backdrop's rings never cross its letters.
void DrawTitlePart(const std::string& text, int x) {
    const int top = KORVIS_FRAME_HEIGHT - 1;
    FillArea(x - 2, top - TITLE_STRIP_ROWS + 1, x + LARGE_GLYPH * int(text.size()) + 1, top, 0, 0,
             0);
    DrawLargeLine(text, x, top - 1 - LINE_ROWS + 1, 255, 255, 255);
}

}  // namespace

void ScrollMapView(int mode) {
    const int frameHeight = AppState.frameHeight;
    AppState.frameHeight = MAP_ROWS;
    ScrollView(mode);
    AppState.frameHeight = frameHeight;
}

void DrawLargeLine(const std::string& text, int x, int bottom, int r, int g, int b) {
    const int room = std::max(0, (AppState.frameWidth - x) / LARGE_GLYPH);
    std::snprintf(TextBuffer, TEXT_BUFFER_SIZE, "%s", text.substr(0, std::size_t(room)).c_str());
    DrawLargeText(x, bottom + LINE_ROWS, r, g, b);
}

void FillArea(int x0, int y0, int x1, int y1, int r, int g, int b) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, AppState.frameWidth - 1);
    y1 = std::min(y1, AppState.frameHeight - 1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) PutPixel(x, y, r, g, b);
}

void KingdomColour(int k, int& r, int& g, int& b) {
    const int* c = KINGDOM_COLOURS[(std::max(k, 1) - 1) % 5];
    r = c[0], g = c[1], b = c[2];
}

int PlayerGold() {
    return UnitTable[PLAYER].treasury;
}

int PlayerTowns() {
    int towns = 0;
    for (int i = 1; i < UNIT_CAPACITY; ++i) {
        const UnitRecord& u = UnitTable[i];
        towns += u.inUse == 1 && u.destroyed == 0 && u.kind == KIND_TOWN && u.owner == PLAYER;
    }
    return towns;
}

std::string HelpLineKeys() {
    if (Korvis.winner != 0) return "N NEW GAME  H HELP  ESC QUIT";
    if (ConsoleOpen == 1) return "TYPE A COMMAND  ENTER RUNS  ESC CLOSES";
    if (Korvis.sceneOn == 1) return "MOUSE LOOKS  LEFT WALKS  Z BACK  H HELP";
    return "H HELP  TAB CONSOLE  F5 SCENE  ESC QUIT";
}

void DrawTopLines() {
    const int top = KORVIS_FRAME_HEIGHT - 1;
    const int statusBottom = top - TITLE_STRIP_ROWS - LINE_ROWS + 1;
    const int helpBottom = statusBottom - LINE_ROWS;
    char text[64];
    if (Korvis.sceneOn == 1)
        std::snprintf(text, sizeof text, "SCENE  LEVEL %d", int(UnitTable[WALKER].level));
    else
        std::snprintf(text, sizeof text, "LEVEL %d  TURN %d", ViewLevel, int(turnCounter));
    DrawTitlePart(text, 2);
    std::snprintf(text, sizeof text, "SEED %u", Korvis.seed);
    DrawTitlePart(text, KORVIS_FRAME_WIDTH - 1 - LARGE_GLYPH * int(std::string(text).size()));

    FillArea(0, helpBottom, KORVIS_FRAME_WIDTH - 1, statusBottom + LINE_ROWS - 1, BAND_R, BAND_G,
             BAND_B);
    if (Korvis.sceneOn == 1) {
        const UnitRecord& w = UnitTable[WALKER];
        std::snprintf(text, sizeof text, "CELL %d %d  %s", int(w.x), int(w.y),
                      GroundUnder(w.x, w.y, w.level) ? "GROUND BELOW" : "NO GROUND: CANNOT STEP");
        DrawLargeLine(text, 2, statusBottom, 230, 230, 230);
    } else {
        int r, g, b;
        KingdomColour(PLAYER, r, g, b);
        FillArea(2, statusBottom + 2, 9, statusBottom + 9, r, g, b);
        if (UnitTable[PLAYER].inUse == 1)
            std::snprintf(text, sizeof text, "YOU: KINGDOM 1  GOLD %d  TOWNS %d", PlayerGold(),
                          PlayerTowns());
        else
            std::snprintf(text, sizeof text, "YOU: KINGDOM 1, FALLEN");
        DrawLargeLine(text, 14, statusBottom, 230, 230, 230);
    }
    const char* notice = CurrentNotice();
    if (notice[0] != '\0')
        DrawLargeLine(notice, 2, helpBottom, 255, 220, 90);
    else
        DrawLargeLine(HelpLineKeys(), 2, helpBottom, 170, 200, 255);
}
