// The engine's polled view and window keys: scrolling the view position over MapGrid and
// between its levels, re-creating the window at another pixel scale, moving it to the
// cursor, and emptying the event queue. The engine's host program calls them each pass.
#include "scene/view_keys.h"

#include <algorithm>

#include "gamedata/engine_settings.h"
#include "platform/platform.h"
#include "platform/virtual_keys.h"
#include "scene/console.h"
#include "scene/key_poll.h"
#include "scene/view_position.h"
#include "shell/app_state.h"
#include "shell/gl_window.h"
#include "shell/main_loop.h"
#include "world/world_tables.h"

using platform::Sys;

int ViewLocked = 0;

namespace {

constexpr int WALKER = 1;
constexpr int TILE_PIXELS = 16;  // a map cell in the tile view
constexpr int LEVEL_KEY_PAUSE_MS = 380;
constexpr int DEEPEST_FROM = 138;   // the walker's level must be below this to look deeper
constexpr int SHALLOWEST_FROM = 1;  // ... and above this, at most DEEPEST_FROM + 1, to look up
constexpr int MODE_GUARDED = 1, MODE_FREE = 2;  // mode 0: arrows only
constexpr int SCALE_KEYS = 4;                   // F1..F4: pixel scales 1..4
const char* const WINDOW_TITLE = "KORVIS";

// Whether cell (x, y) of `level` is on the grid and holds nothing.
bool OpenCell(int x, int y, int level) {
    if (MapGrid == nullptr || x < 0 || x >= MAP_WIDTH || y < 0 || y >= MAP_WIDTH || level < 0 ||
        level >= LEVEL_COUNT)
        return false;
    return MapGrid[CellIndex(x, y, level)] == 0;
}

const UnitRecord* Walker() {
    if (UnitTable == nullptr || WALKER >= UNIT_CAPACITY) return nullptr;
    return &UnitTable[WALKER];
}

bool WalkerCanLookDeeper() {
    const UnitRecord* w = Walker();
    return w != nullptr && w->level > 0 && w->level < DEEPEST_FROM &&
           OpenCell(w->x, w->y, w->level + 1);
}

bool WalkerCanLookUp() {
    const UnitRecord* w = Walker();
    return w != nullptr && w->level > SHALLOWEST_FROM && w->level <= DEEPEST_FROM + 1 &&
           OpenCell(w->x, w->y, w->level - 1);
}

void ClampView() {
    ViewY = std::max(std::min(ViewY, MAP_WIDTH - AppState.frameHeight / TILE_PIXELS), 0);
    ViewX = std::max(std::min(ViewX, MAP_WIDTH - AppState.frameWidth / TILE_PIXELS), 0);
    ViewLevel = std::max(std::min(ViewLevel, LEVEL_COUNT - 1), 0);
}

int OpenWindowAtScale() {
    const AppStateRecord& s = AppState;
    return OpenGlWindow(WINDOW_TITLE, s.frameWidth * s.pixelScale, s.frameHeight * s.pixelScale, 16,
                        FullscreenFlag);
}

void ReopenAtScale(int scale) {
    const int previous = AppState.pixelScale;
    // After a failed attempt there is nothing left to close, and closing would only complain.
    if (Sys().HasMainWindow()) CloseGlWindow();
    AppState.pixelScale = scale;
    if (OpenWindowAtScale()) return;
    // The failure has been shown; the program goes on in a window of the size that worked.
    if (previous < 1 || previous == scale) return;
    AppState.pixelScale = previous;
    OpenWindowAtScale();
}

}  // namespace

void ScrollView(int mode) {
    if (!ViewLocked) {
        if (KeyDown(vk::UP)) ViewY += 1;
        if (KeyDown(vk::DOWN)) ViewY -= 1;
        if (KeyDown(vk::RIGHT)) ViewX += 1;
        if (KeyDown(vk::LEFT)) ViewX -= 1;
        const bool levelKeys = mode == MODE_GUARDED || mode == MODE_FREE;
        if (levelKeys && KeyDown(vk::ADD)) {
            if (mode == MODE_FREE || WalkerCanLookDeeper()) ViewLevel += 1;
            // A held key repeats every 380 ms; one let go already waits for nothing.
            if (KeyHeldNow(vk::ADD)) Sys().Pause(LEVEL_KEY_PAUSE_MS);
        }
        if (levelKeys && KeyDown(vk::SUBTRACT)) {
            if (mode == MODE_FREE || WalkerCanLookUp()) ViewLevel -= 1;
            if (KeyHeldNow(vk::SUBTRACT)) Sys().Pause(LEVEL_KEY_PAUSE_MS);
        }
    }
    ClampView();
}

void HandleWindowKeys() {
    for (int i = 0; i < SCALE_KEYS; ++i) {
        if (KeyDown(vk::F1 + i) == 0) continue;
        ReopenAtScale(i + 1);
        Sys().ShowSystemCursor(false);
    }
    MoveWindowToCursor();
}

void MoveWindowToCursor() {
    // While the console is open, M is a letter of its line, and asking would take it.
    if (ConsoleOpen == 1 || KeyDown('M') == 0) return;
    AppStateRecord& s = AppState;
    int x, y;
    Sys().CursorPosition(x, y);
    Sys().MoveMainWindow(x, y, s.frameWidth * s.pixelScale, s.frameHeight * s.pixelScale);
    Sys().ShowSystemCursor(false);
    s.windowX = x;
    s.windowY = y;
}

void DrainMessages() {
    while (PumpMessages()) {
    }
}
