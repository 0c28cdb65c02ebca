// Walking through the 3D scene: the forward and backward steps along the camera's heading,
// the check that the view stands on ground, collision with wall cells and the crossing of
// cell borders. No drawing here, so all of it runs without a GL context.
#include "scene/scene_walk.h"

#include <cmath>

#include "draw/trig_tables.h"
#include "dungeon/dungeon_tables.h"
#include "gamedata/engine_settings.h"
#include "platform/virtual_keys.h"
#include "scene/console.h"
#include "scene/key_poll.h"
#include "scene/scene_state.h"
#include "scene/view_position.h"
#include "shell/app_state.h"
#include "shell/input_hooks.h"
#include "world/world_tables.h"

namespace {

bool IsWall(float dx, float dy, float dz) {
    return CellAtOffset(dx, dy, dz) == CELL_WALL;
}

bool InGrid(long long x, long long y, long long level) {
    return x >= 0 && y >= 0 && level >= 0 && x < MAP_WIDTH && y < MAP_WIDTH && level < LEVEL_COUNT;
}

// Keeps the view where a wall cell lies one level under it, else returns it to the last
// such place and centres the walker in its cell. A view outside the grid has no ground.
void CheckGround(UnitRecord& walker) {
    long long below = (long long)ViewLevel + 1;
    if (InGrid(ViewX, ViewY, below) && MapGrid[CellIndex(ViewX, ViewY, int(below))] == CELL_WALL) {
        LastGroundPosition = {ViewX, ViewY, ViewLevel};
        return;
    }
    ViewX = LastGroundPosition.x;
    ViewY = LastGroundPosition.y;
    ViewLevel = LastGroundPosition.level;
    walker.sceneX = walker.sceneY = walker.sceneZ = 0.5f;
}

// Every how many passes a held left button steps forward; at least every pass.
int StepPeriod() {
    float period = SceneStepRate / 10.0f;
    return period >= 1.0f && period < 1e9f ? int(period) : 1;
}

// Moves the walker into the next cell when its offset left 0..1 along x or y. At the grid's
// edge the offset stays at the border instead: the 16-bit position must not wrap.
void CrossCells(UnitRecord& w) {
    const int last = MAP_WIDTH - 1;
    if (w.sceneX > 1) {
        if (w.x > 0 && w.x <= last) {
            --w.x;
            w.sceneX -= 1;
        } else {
            w.sceneX = 1;
        }
    }
    if (w.sceneY > 1) {
        if (w.y < last) {
            ++w.y;
            w.sceneY -= 1;
        } else {
            w.sceneY = 1;
        }
    }
    if (w.sceneX < 0) {
        if (w.x < last) {
            ++w.x;
            w.sceneX += 1;
        } else {
            w.sceneX = 0;
        }
    }
    if (w.sceneY < 0) {
        if (w.y > 0 && w.y <= last) {
            --w.y;
            w.sceneY += 1;
        } else {
            w.sceneY = 0;
        }
    }
}

}  // namespace

int CellAtOffset(float dx, float dy, float dz) {
    if (UnitTable == nullptr || MapGrid == nullptr || UNIT_CAPACITY <= WALKER) return 0;
    if (!std::isfinite(dx) || !std::isfinite(dy) || !std::isfinite(dz)) return 0;
    const UnitRecord& w = UnitTable[WALKER];
    // Far offsets stay far outside the grid without overflowing the conversion.
    auto cell = [](double base, float d) {
        double v = base + std::floor(double(d));
        return v < -1e9 ? -1LL : v > 1e9 ? (long long)1e9 : (long long)v;
    };
    long long x = cell(w.x, dx), y = cell(w.y, dy), level = cell(w.level, dz);
    if (!InGrid(x, y, level)) return 0;
    return MapGrid[CellIndex(int(x), int(y), int(level))];
}

int ResolveCollision(float a, float b, float c) {
    if (UnitTable == nullptr || UNIT_CAPACITY <= WALKER) return 0;
    UnitRecord& w = UnitTable[WALKER];
    const bool open = !IsWall(a, b, c);
    if (IsWall(a - 0.3f, b, c) && open) {
        w.sceneX -= 0.3f - a;
        if (IsWall(a - 0.2f, b, c)) w.sceneX -= 0.2f;
    }
    if (IsWall(a + 0.3f, b, c) && open) {
        w.sceneX += a + 0.3f - 1;
        if (IsWall(a + 0.2f, b, c)) w.sceneX += 0.2f;
    }
    if (IsWall(a, b - 0.3f, c) && open) {
        w.sceneY += 0.3f - b;
        if (IsWall(a, b - 0.2f, c)) w.sceneY += 0.2f;
    }
    if (IsWall(a, b + 0.3f, c) && open) {
        w.sceneY -= b + 0.3f - 1;
        if (IsWall(a, b + 0.2f, c)) w.sceneY -= 0.2f;
    }
    if (IsWall(a, b, c - 0.3f) && open) {
        w.sceneZ -= 0.3f - c;
        if (IsWall(a, b, c - 0.2f)) w.sceneZ -= 0.2f;
    }
    if (IsWall(a, b, c + 0.3f) && open) {
        w.sceneZ += c + 0.3f - 1;
        if (IsWall(a, b, c + 0.2f)) w.sceneZ += 0.2f;
    }
    if (IsWall(a - 0.2f, b - 0.2f, c)) {
        w.sceneX -= 0.2f, w.sceneY += 0.2f;
        return 1;
    }
    if (IsWall(a + 0.2f, b + 0.2f, c)) {
        w.sceneX += 0.2f, w.sceneY -= 0.2f;
        return 1;
    }
    if (IsWall(a + 0.2f, b - 0.2f, c)) {
        w.sceneX += 0.2f, w.sceneY += 0.2f;
        return 1;
    }
    if (IsWall(a - 0.2f, b + 0.2f, c)) {
        w.sceneX -= 0.2f, w.sceneY -= 0.2f;
        return 1;
    }
    return 0;
}

void WalkScene() {
    if (UnitTable == nullptr || MapGrid == nullptr || UNIT_CAPACITY <= WALKER) return;
    UnitRecord& w = UnitTable[WALKER];
    w.prevSceneX = w.sceneX;
    w.prevSceneY = w.sceneY;
    w.prevSceneZ = w.sceneZ;

    // The heading of this frame, for either direction; yaw and pitch may be negative.
    const double pitch = std::sin(double(CameraPitch) * DEG_TO_RAD);
    const double heading = (double(CameraYaw) + 180.0) * DEG_TO_RAD;
    const float dx = float(pitch * std::sin(heading) * 0.1);
    const float dy = float(pitch * std::cos(heading) * 0.1);
    if (KeyDown(vk::LBUTTON) && AppState.passCount % StepPeriod() == 0) {
        w.sceneX -= dx;
        w.sceneY -= dy;
        w.walkPhase += 1;
        CheckGround(w);
    }
    // While the console is open, Z is a letter of its line, and asking would take it.
    if (ConsoleOpen == 0 && KeyDown('Z')) {
        w.sceneX += dx;
        w.sceneY += dy;
        w.walkPhase -= 1;
        CheckGround(w);
    }
    ResolveCollision(1 - w.sceneX, w.sceneY, 1 - w.sceneZ);
    w.sceneZ = float(std::sin(double(w.walkPhase) * 1.5) * 0.024 + 0.54);
    CrossCells(w);
}

void LookWithMouse() {
    if (KeyDown(vk::LBUTTON) || KeyDown(vk::MBUTTON) || KeyDown(vk::RBUTTON)) AimCameraAtCursor();
}

void AimCameraAtCursor() {
    CameraYaw = float(20 - 2 * CursorColumn());
    CameraPitch = float(-CursorRow());
}
