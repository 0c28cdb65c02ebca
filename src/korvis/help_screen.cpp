// The help screen of the host program, on H: every key and mouse action of the view on show,
// then what the map's pictures, frames and captions mean and the console's commands. The
// pass draws it over the whole frame while it is open.
#include <string>

#include "korvis/host.h"
#include "quentaro.h"

namespace {

constexpr int KEY_COLUMN = 2, PICTURE_COLUMN = 2 + 8 * 7, TEXT_COLUMN = 2 + 8 * 11;
constexpr int CASTLE_PICTURE = 189, WELL_PICTURE = 194;

struct HelpLine {
    const char* key;
    const char* text;
    int picture = -1;  // a picture slot shown beside the key
};

const HelpLine MAP_KEYS[] = {
    {"ARROWS", "SCROLL THE MAP"},           {"NUM + -", "NEXT LEVEL DOWN, UP"},
    {"1 - 5", "SHOW KINGDOM N'S CAPITAL"},  {"LEFT HOLD", "PLAY THE TURNS. IN TURNS"},
    {"", "1-13 FOUND A TOWN AT THE"},       {"", "CURSOR, 8-13 CELLS FROM"},
    {"", "YOUR TOWNS, FOR 1-3 GOLD"},       {"RIGHT", "A GOAL FOR YOUR UNIT"},
    {"TAB", "CONSOLE: ENTER RUNS A LINE"},  {"F5", "FIRST-PERSON SCENE"},
    {"F6  F7", "SAVE, LOAD THE OVERWORLD"}, {"F1-F4", "WINDOW SIZE"},
    {"M", "WINDOW TO THE MOUSE"},           {"N", "NEW GAME, ONCE WON"},
    {"ESC", "CLOSE HELP OR CONSOLE;"},      {"", "ELSE QUIT"},
};

const HelpLine SCENE_KEYS[] = {
    {"MOUSE", "TURN LEFT, RIGHT; TILT UP,"},
    {"", "DOWN. THE POINTER STARTS"},
    {"", "WHERE THE LOOK IS LEVEL"},
    {"LEFT HOLD", "WALK FORWARD"},
    {"Z", "WALK BACK"},
    {"", "NO STEP FROM A CELL WITH"},
    {"", "NO WALL UNDER IT"},
    {"F5", "BACK TO THE MAP"},
    {"TAB", "CONSOLE: ENTER RUNS A LINE"},
    {"F1-F4", "WINDOW SIZE"},
    {"M", "WINDOW TO THE MOUSE"},
    {"ESC", "CLOSE HELP OR CONSOLE;"},
    {"", "ELSE QUIT"},
};

const HelpLine LEGEND[] = {
    {"CASTLE", "A TOWN. FRAME: ITS KINGDOM", CASTLE_PICTURE},
    {"", "BLUE YOU, RED 2, YELLOW 3;"},
    {"", "DOUBLE FRAME: A CAPITAL"},
    {"WELL", "PAYS GOLD EACH TURN TO", WELL_PICTURE},
    {"", "TOWNS IN 11 CELLS"},
    {"BAR", "HIT POINTS: GREEN LEFT"},
    {"12 ms0", "RECORD 12, MOVE STATE 0:"},
    {"", "IDLE; 1 MOVES, 2 FOLLOWS"},
    {"CORNERS", "THE WALKER, YOUR CAPITAL'S"},
    {"", "RECORD: COMMANDS ACT HERE"},
    {"WIN", "KEEP THE LAST CAPITAL"},
    {"CONSOLE", "ENV4TELEPORT X Y LEVEL"},
    {"", "ENV4BLOCK ENV4GRASS"},
    {"", "ENV4DIRT ENV4EMPTYX1"},
    {"", "ENV4EMPTYY1 CORNER1"},
    {"", "SCREENSAVERTOGGLE"},
};

template <std::size_t N> void DrawLines(const HelpLine (&lines)[N], int bottom) {
    for (const HelpLine& line : lines) {
        DrawLargeLine(line.key, KEY_COLUMN, bottom, 120, 220, 255);
        if (line.picture >= 0) DrawTileKeyed(PICTURE_COLUMN, bottom - 2, line.picture);
        DrawLargeLine(line.text, TEXT_COLUMN, bottom, 240, 240, 240);
        bottom -= LINE_ROWS;
    }
}

}  // namespace

void DrawHelpScreen(int page) {
    const int width = AppState.frameWidth, height = AppState.frameHeight;
    FillArea(0, 0, width - 1, height - 1, 12, 12, 28);
    const int first = height - 2 - LINE_ROWS;  // the heading's bottom row
    const char* title = page == 2             ? "THE MAP AND THE CONSOLE"
                        : Korvis.sceneOn == 1 ? "KEYS OF THE SCENE"
                                              : "KEYS OF THE MAP";
    DrawLargeLine(title, KEY_COLUMN, first, 255, 220, 90);
    const std::string pages = std::to_string(page) + "/" + std::to_string(HELP_PAGES);
    DrawLargeLine(pages, width - 8 * 3 - 2, first, 255, 220, 90);
    if (page == 2)
        DrawLines(LEGEND, first - LINE_ROWS - 2);
    else if (Korvis.sceneOn == 1)
        DrawLines(SCENE_KEYS, first - LINE_ROWS - 2);
    else
        DrawLines(MAP_KEYS, first - LINE_ROWS - 2);
    DrawLargeLine(page < HELP_PAGES ? "H NEXT PAGE" : "H CLOSES", KEY_COLUMN, 2, 255, 220, 90);
    DrawLargeLine("ESC CLOSES", width - 8 * 10 - 2, 2, 255, 220, 90);
}
