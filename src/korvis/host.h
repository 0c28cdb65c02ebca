// The engine's host program: its state, start-up, paced pass and help line.
#pragma once

#include <string>
#include <vector>

constexpr int KORVIS_FRAME_WIDTH = 320, KORVIS_FRAME_HEIGHT = 240, KORVIS_PIXEL_SCALE = 2;
constexpr int DUNGEON_FIRST_LEVEL = 1;
constexpr int DUNGEON_ATTEMPTS = 300;  // room attempts per level: about 110 rooms each
constexpr int OVERWORLD_FILE_NUMBER = 1;
constexpr int TITLE_STRIP_ROWS = 14;  // the noise backdrop under the title, at the top
constexpr int HELP_BAND_ROWS = 24;    // two lines of keys at the bottom

// What the window shows; a frame is composed again only when this changes (or the world
// may have moved), and presented only when its pixels differ from the frame on screen.
struct HostFrameKey {
    int scene = 0, viewX = 0, viewY = 0, viewLevel = 0, cursorX = 0, cursorY = 0;
    int backdropPhase = 0, turn = 0, winner = 0, console = 0;
    std::string notice;
    bool operator==(const HostFrameKey&) const = default;
};

struct KorvisRecord {
    unsigned seed = 0;
    int sceneOn = 0;   // 1: the first-person scene on the walker's level; 0: the tile map
    int winner = 0;    // the kingdom that won the strategic game, 0 while it goes on
    int worldMoved = 1;  // 1: units, cells or the view may have changed since the last frame
    HostFrameKey drawn;  // the inputs of the frame in the Framebuffer
    bool drawnKnown = false;
    std::vector<unsigned char> shown;  // the pixels on screen, empty before the first frame
    long long startMicroseconds = 0;   // steady clock when start-up began
    long long firstFrameMicroseconds = 0;  // from start-up to the first presented frame
};

extern KorvisRecord Korvis;

// The two lines of the help line for a world made from `seed`; the first is replaced by a
// notice while one is on show.
std::string HelpLineKeys();
std::string HelpLineSeed(unsigned seed);
// The seed of a run: the given one, otherwise one taken from the clocks.
unsigned ChooseSeed(bool given, unsigned seed);

// Opens the window and makes the world: overworld, kingdoms and wells, and the dungeon
// levels below with a progress display. Returns 0 when the window could not be opened.
int KorvisStartUp(unsigned seed);
// One pass: keys, the engine's steps, the frame composed and presented when it changed,
// the paced wait and the pump.
void RunKorvisPass();
// Runs passes until Escape or the close request; returns the exit status.
int RunKorvis();
void KorvisShutDown();

// Parts of the pass, also driven by the benchmark.
void ComposeTileMapFrame();
void ComposeSceneFrame();
void DrawHelpLine();
// Presents the Framebuffer when it differs from the frame on screen or the screen is stale.
bool PresentIfChanged();
// Saves or loads overworld OVERWORLD_FILE_NUMBER and says on screen how it went.
void SaveOverworldWithNotice();
void LoadOverworldWithNotice();
