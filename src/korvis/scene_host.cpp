// The host's side of the first-person scene: the view position kept on the walker, so that
// the scene's ground check looks under the walker; a walker that the check sends back standing
// where it was sent; the camera following the pointer, which is put at the start where a
// level look along the walker's longest way lies (or where the look was, when the walker is
// back where the scene left it), so that a button going down moves nothing.
#include <algorithm>

#include "korvis/host.h"
#include "quentaro.h"

namespace {

constexpr int LEVEL_LOOK_ROW = 90;  // the pointer's frame row at which the camera looks level
constexpr int LONGEST_LOOK = 12;    // cells counted along each way
// The four ways a level look can face, as the column that aims the camera there (yaw
// 20 - 2 x column) and the cell step a forward walk takes along it.
struct Way {
    int column, dx, dy;
};
constexpr Way WAYS[] = {{10, 0, -1}, {145, 1, 0}, {100, 0, 1}, {55, -1, 0}};

bool Open(int x, int y, int level) {
    return CellOnGrid(x, y, level) && MapGrid[CellIndex(x, y, level)] != CELL_WALL;
}

// The column whose look faces the way with the most open cells with ground under them.
int LongestWayColumn() {
    const UnitRecord& w = UnitTable[WALKER];
    int best = WAYS[0].column, bestLength = -1;
    for (const Way& way : WAYS) {
        int length = 0;
        for (int step = 1; step <= LONGEST_LOOK; ++step) {
            const int x = w.x + way.dx * step, y = w.y + way.dy * step;
            if (!Open(x, y, w.level) || !GroundUnder(x, y, w.level)) break;
            ++length;
        }
        if (length > bestLength) best = way.column, bestLength = length;
    }
    return best;
}

// Puts the pointer over frame pixel (column, row) of the window.
void PointAt(int column, int row) {
    const platform::WindowRect rect = platform::Sys().MainWindowRect();
    const int scale = std::max(1, (rect.right - rect.left) / AppState.frameWidth);
    platform::Sys().MoveCursor(rect.left + column * scale + scale / 2,
                               rect.bottom - row * scale - scale / 2);
}

bool WalkerWhereTheSceneLeftIt() {
    const UnitRecord& w = UnitTable[WALKER];
    return w.x == Korvis.sceneLeftX && w.y == Korvis.sceneLeftY && w.level == Korvis.sceneLeftLevel;
}

void ViewOnWalker() {
    const UnitRecord& w = UnitTable[WALKER];
    ViewX = w.x;
    ViewY = w.y;
    ViewLevel = w.level;
}

}  // namespace

bool GroundUnder(int x, int y, int level) {
    return CellOnGrid(x, y, level + 1) && MapGrid[CellIndex(x, y, level + 1)] == CELL_WALL;
}

void EnterScene() {
    Korvis.sceneOn = 1;
    Korvis.worldMoved = 1;
    const UnitRecord& w = UnitTable[WALKER];
    if (WalkerWhereTheSceneLeftIt()) {
        // Back where the walk stopped: the same look, and the same ground to fall back on.
        PointAt(int(20 - CameraYaw) / 2, int(-CameraPitch));
    } else {
        LastGroundPosition = {w.x, w.y, w.level};
        PointAt(LongestWayColumn(), LEVEL_LOOK_ROW);
    }
    AimCameraAtCursor();
    if (w.level == 0)
        ShowNotice("THE WALKER IS ON THE OVERWORLD");
    else if (!GroundUnder(w.x, w.y, w.level))
        ShowNotice("NOTHING UNDER THE WALKER: IT CANNOT STEP");
}

void LeaveScene() {
    Korvis.sceneOn = 0;
    Korvis.worldMoved = 1;
    const UnitRecord& w = UnitTable[WALKER];
    // The walker in the middle of the map below the lines at the top.
    ViewX = w.x - AppState.frameWidth / TILE_SIZE / 2;
    ViewY = w.y - MAP_ROWS / TILE_SIZE / 2;
    ViewLevel = w.level;
    ScrollMapView(0);
}

void RunHostedSceneFrame() {
    UnitRecord& w = UnitTable[WALKER];
    // A walker put elsewhere since the last frame (a teleport) is sent back no farther than
    // its new cell.
    if (!WalkerWhereTheSceneLeftIt()) LastGroundPosition = {w.x, w.y, w.level};
    ViewOnWalker();
    AimCameraAtCursor();
    const GroundPosition on = {ViewX, ViewY, ViewLevel};
    RunSceneFrame();
    // The ground check put the view back on the last cell with ground: the walker goes there.
    if (ViewX != on.x || ViewY != on.y || ViewLevel != on.level) {
        w.x = std::uint16_t(ViewX);
        w.y = std::uint16_t(ViewY);
        w.level = std::uint16_t(ViewLevel);
    }
    Korvis.sceneLeftX = w.x;
    Korvis.sceneLeftY = w.y;
    Korvis.sceneLeftLevel = w.level;
    ViewOnWalker();
}
