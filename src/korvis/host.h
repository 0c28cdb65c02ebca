// The engine's host program: its state, start-up, paced pass, the lines and screens it draws
// over the engine's views, and its answers to the player.
#pragma once

#include <string>
#include <vector>

constexpr int KORVIS_FRAME_WIDTH = 320, KORVIS_FRAME_HEIGHT = 240, KORVIS_PIXEL_SCALE = 2;
constexpr int DUNGEON_FIRST_LEVEL = 1;
constexpr int DUNGEON_ATTEMPTS = 300;  // room attempts per level: about 110 rooms each
constexpr int OVERWORLD_FILE_NUMBER = 1;

// The lines sit at the top of the frame, so that the map's origin corner, where the view is
// put, stays in sight at the bottom left. Text is in the large font, whose digits are clear.
constexpr int LINE_ROWS = 12;         // one line of the large font
constexpr int LINE_CHARACTERS = 40;   // of 8 pixels, across the frame
constexpr int TITLE_STRIP_ROWS = 14;  // the noise backdrop under the title
constexpr int TOP_BAND_ROWS = TITLE_STRIP_ROWS + 2 * LINE_ROWS;  // title, status, help line
constexpr int MAP_ROWS = KORVIS_FRAME_HEIGHT - TOP_BAND_ROWS;    // the map shows below them
// The winner's banner across the middle of the map: two lines.
constexpr int BANNER_BOTTOM = MAP_ROWS / 2 - LINE_ROWS - 4,
              BANNER_TOP = MAP_ROWS / 2 + LINE_ROWS + 3;

// What the window shows; a frame is composed again only when this changes (or the world
// may have moved), and presented only when its pixels differ from the frame on screen.
struct HostFrameKey {
    int scene = 0, viewX = 0, viewY = 0, viewLevel = 0, cursorX = 0, cursorY = 0;
    // The player's gold and towns change only with a turn or the winner.
    int turn = 0, winner = 0, console = 0, help = 0;
    int walkerX = 0, walkerY = 0, walkerLevel = 0, marked = 0;
    std::string notice;
    bool operator==(const HostFrameKey&) const = default;
};

// A cell the host points out for a few seconds: where a number key put the view, or the
// goal of an order.
struct MarkedCell {
    int x = 0, y = 0, level = 0;
    int goal = 0;         // 1: an order's goal; 0: where the view was put
    long long until = 0;  // steady clock when the mark goes
};

struct KorvisRecord {
    unsigned seed = 0;
    int sceneOn = 0;     // 1: the first-person scene on the walker's level; 0: the tile map
    int winner = 0;      // the kingdom that won the strategic game, 0 while it goes on
    int helpPage = 0;    // 0: no help on screen; else the page shown
    int worldMoved = 1;  // 1: units, cells or the view may have changed since the last frame
    MarkedCell mark;
    int sceneLeftX = -1, sceneLeftY = -1,
        sceneLeftLevel = -1;  // where scene frames left the walker
    HostFrameKey drawn;       // the inputs of the frame in the Framebuffer
    bool drawnKnown = false;
    std::vector<unsigned char> shown;      // the pixels on screen, empty before the first frame
    long long startMicroseconds = 0;       // steady clock when start-up began
    long long firstFrameMicroseconds = 0;  // from start-up to the first presented frame
};

extern KorvisRecord Korvis;

// The seed of a run: the given one, otherwise one taken from the clocks.
unsigned ChooseSeed(bool given, unsigned seed);

// Opens the window and makes the world: overworld, kingdoms and wells, and the dungeon
// levels below with a progress display. Returns 0 when the window could not be opened.
int KorvisStartUp(unsigned seed);
// A new world from `seed` in the open window, the strategic game from its first turn.
void NewKorvisGame(unsigned seed);
// One pass: keys, the engine's steps, the frame composed and presented when it changed,
// the paced wait and the pump.
void RunKorvisPass();
// Runs passes until Escape or the close request; returns the exit status.
int RunKorvis();
void KorvisShutDown();

// Parts of the pass, also driven by the benchmark.
void ComposeTileMapFrame();
void ComposeSceneFrame();
// Presents the Framebuffer when it differs from the frame on screen or the screen is stale.
bool PresentIfChanged();
// Saves or loads overworld OVERWORLD_FILE_NUMBER and says on screen how it went.
void SaveOverworldWithNotice();
void LoadOverworldWithNotice();

// ScrollView over the map's part of the frame: the view keeps the map's far edge at the top
// of that part, below the lines, and not at the frame's top, under them.
void ScrollMapView(int mode);

// --- the lines at the top (top_lines.cpp) ---
// `text` in the large font with its bottom row at `bottom`, cut to what fits from x on.
void DrawLargeLine(const std::string& text, int x, int bottom, int r, int g, int b);
// A rectangle of one colour, clipped to the frame.
void FillArea(int x0, int y0, int x1, int y1, int r, int g, int b);
// The title over the backdrop strip, the status line (the player's kingdom, or the walker's
// cell in the scene) and the help line, which a notice replaces while it shows.
void DrawTopLines();
// The keys of the view on show, for the help line.
std::string HelpLineKeys();
// The colour of kingdom k's marks on the map and in the status line.
void KingdomColour(int k, int& r, int& g, int& b);
// The player's treasury and the towns of kingdom 1 that stand.
int PlayerGold();
int PlayerTowns();

// --- the map's marks and captions (map_marks.cpp) ---
// Frames in the kingdoms' colours round their towns, the walker's corners, the marked cell,
// and the units' captions laid out so that none overlaps another or leaves the map.
void DrawMapMarks();
// Where the captions went in the last DrawMapMarks: one rectangle per caption drawn.
struct CaptionBox {
    int left, bottom, right, top;  // inclusive frame pixels
};
const std::vector<CaptionBox>& PlacedCaptions();

// --- the help screen (help_screen.cpp) ---
constexpr int HELP_PAGES = 2;
void DrawHelpScreen(int page);

// --- the first-person scene (scene_host.cpp) ---
// Into the scene: the walker's cell becomes its last ground, the camera looks level along
// the walker's longest open way, and the pointer is put where that look lies. A walker still
// where the scene left it keeps the look it had.
void EnterScene();
// Back to the tile map, centred on the walker's cell and level.
void LeaveScene();
// One scene frame with the view on the walker: the camera follows the pointer, and a walker
// sent back by the ground check stands where it was sent.
void RunHostedSceneFrame();
// Whether cell (x, y) of `level` stands on ground, a wall on the level below, as a step in
// the scene needs.
bool GroundUnder(int x, int y, int level);

// --- answers in the notice line (answers.cpp) ---
// What the host notes before the engine's steps of a pass, to say afterwards what they did.
struct EngineStepsBefore {
    int leftHeld = 0, rightHeld = 0, viewKey = 0;  // viewKey: the number key 1-5 down, or 0
    int turn = 0, nextRecord = 0, siteX = 0, siteY = 0, orderX = 0, orderY = 0;
};
EngineStepsBefore NoteEngineSteps();
// Says what a right press did, and when the strategic turn's step ran, what a left hold or a
// number key did, or why it did nothing.
void AnswerEngineSteps(const EngineStepsBefore& before, bool turnStepRan);
// What the host notes before the console's frame, and says after a command ran.
struct ConsoleBefore {
    int lines = 0, walkerX = 0, walkerY = 0, walkerLevel = 0, screenSaver = 0;
};
ConsoleBefore NoteConsole();
void AnswerConsole(const ConsoleBefore& before);
