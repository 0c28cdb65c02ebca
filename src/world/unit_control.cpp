// Unit orders (OrderUnit, OrderPlayerUnitAtCursor) and the mover that walks ordered units
// one cell at a time (UpdateUnitMoves). The mover plans through the path finder's requests:
// a whole stored path while a long way remains, the next step only once the goal is near.
#include "world/unit_control.h"

#include "gamedata/engine_settings.h"
#include "platform/virtual_keys.h"
#include "scene/key_poll.h"
#include "scene/view_position.h"
#include "shell/app_state.h"
#include "shell/input_hooks.h"
#include "world/path_finder.h"
#include "world/world_tables.h"

namespace {

constexpr int MOVE_PERIOD = 30;  // passes between two movement passes
constexpr int NEW_ORDERS_PER_PASS = 15;
constexpr int SEARCH_WINDOW = 64;  // the side of the search window, on maps this wide or wider
constexpr int LINEAR_OPEN_SET = 0;
constexpr int STORED_PATH_BEYOND = 28;  // steps left above which the stored path is walked
constexpr int FOLLOW_RENEWAL = 25;      // follow moves before the target is looked up again
constexpr int ORDER_CELL_WIDTH = 32;
constexpr int ORDER_CELL_HEIGHT = 24;
constexpr int ORDER_MARGIN = 11;  // the player's target keeps this far from the far edges

constexpr std::int16_t MOVE_IDLE = 0, MOVE_TO_CELL = 1, MOVE_FOLLOW = 2;
constexpr std::uint8_t SEARCH_STORED = 3, SEARCH_NEXT_STEP = 1;

// A map narrower than the window is searched whole: a larger window cannot be placed on it.
int SearchWindow() {
    return MAP_WIDTH < SEARCH_WINDOW ? MAP_WIDTH : SEARCH_WINDOW;
}

bool TablesReady() {
    return UnitTable != nullptr && PathFinder != nullptr;
}

// Units the mover may touch: both the table and the path finder's per-unit rows hold them.
int MovableLimit() {
    return UNIT_CAPACITY < PathFinder->unitCapacity ? UNIT_CAPACITY : PathFinder->unitCapacity;
}

bool WantsStoredPath(int u) {
    std::int32_t index = PathFinder->pathIndex[u];
    return index > STORED_PATH_BEYOND || index == NO_PATH;
}

void TakeStep(UnitRecord& unit) {
    unit.x = std::uint16_t(unit.stepX);
    unit.y = std::uint16_t(unit.stepY);
}

bool StandsOn(const UnitRecord& unit, int x, int y) {
    return unit.x == x && unit.y == y;
}

void MoveToCell(int u) {
    UnitRecord& unit = UnitTable[u];
    int ok;
    if (WantsStoredPath(u)) {
        unit.searchKind = SEARCH_STORED;
        ok = RequestStoredPath(u, unit.targetX, unit.targetY, SearchWindow(), LINEAR_OPEN_SET, 1);
    } else {
        unit.searchKind = SEARCH_NEXT_STEP;
        ok = RequestNextStep(u, unit.targetX, unit.targetY, SearchWindow(), LINEAR_OPEN_SET);
    }
    if (ok != 1) return;
    TakeStep(unit);
    if (StandsOn(unit, unit.targetX, unit.targetY)) unit.moveState = MOVE_IDLE;
}

// One step after the followed unit; every so often the target is renewed from where the
// followed unit stands now, and a new path is planned toward it.
void FollowMove(int u, const UnitRecord& followed) {
    UnitRecord& unit = UnitTable[u];
    TakeStep(unit);
    unit.followTimer += 1;
    if (unit.followTimer <= FOLLOW_RENEWAL) return;
    unit.followTimer = 0;
    unit.targetX = unit.lastTargetX = std::int16_t(followed.x);
    unit.targetY = unit.lastTargetY = std::int16_t(followed.y);
    unit.moveState = MOVE_FOLLOW;
    PathFinder->pathIndex[u] = NO_PATH;
    unit.pathPending = 1;
}

void Follow(int u) {
    UnitRecord& unit = UnitTable[u];
    int f = unit.followUnit;
    // A follow order whose target is no record at all has nothing to follow.
    if (f < 0 || f >= UNIT_CAPACITY) {
        unit.moveState = MOVE_IDLE;
        return;
    }
    const UnitRecord& followed = UnitTable[f];
    if (WantsStoredPath(u)) {
        unit.searchKind = SEARCH_STORED;
        if (RequestFollowPath(u, unit.targetX, unit.targetY, SearchWindow(), LINEAR_OPEN_SET, 1) !=
            1)
            return;
        FollowMove(u, followed);
        if (StandsOn(unit, unit.targetX, unit.targetY)) unit.moveState = MOVE_IDLE;
    } else {
        unit.searchKind = SEARCH_NEXT_STEP;
        // Next to the followed unit the request answers 2: the follower waits there.
        if (RequestFollowStep(u, followed.x, followed.y, SearchWindow(), LINEAR_OPEN_SET) != 1)
            return;
        FollowMove(u, followed);
        if (StandsOn(unit, followed.x, followed.y)) unit.moveState = MOVE_IDLE;
    }
}

// A new order counts against the pass's limit once, when it is first taken up.
void TakeUpPending(UnitRecord& unit, int& taken) {
    if (unit.pathPending != 1) return;
    unit.pathPending = 0;
    ++taken;
}

}  // namespace

void OrderUnit(int u, int x, int y) {
    if (!TablesReady() || u < 0 || u >= MovableLimit()) return;
    UnitRecord& unit = UnitTable[u];
    unit.pathPending = 1;
    unit.followTimer = 0;
    unit.followUnit = 0;
    for (int r = 1; r < UNIT_CAPACITY; ++r) {
        if (UnitTable[r].x == x && UnitTable[r].y == y) {
            unit.followUnit = std::int16_t(r);
            break;
        }
    }
    PathFinder->pathIndex[u] = NO_PATH;
    if (unit.followUnit == 0) {
        unit.targetX = std::int16_t(x);
        unit.targetY = std::int16_t(y);
        unit.moveState = MOVE_TO_CELL;
        return;
    }
    const UnitRecord& followed = UnitTable[unit.followUnit];
    unit.targetX = unit.lastTargetX = std::int16_t(followed.x);
    unit.targetY = unit.lastTargetY = std::int16_t(followed.y);
    unit.moveState = MOVE_FOLLOW;
}

void OrderPlayerUnitAtCursor() {
    if (UnitTable == nullptr || KeyDown(vk::RBUTTON) == 0) return;
    int x = CursorColumn() / ORDER_CELL_WIDTH + ViewX;
    int y = CursorRow() / ORDER_CELL_HEIGHT + ViewY;
    if (x <= 0 || x >= MAP_WIDTH - ORDER_MARGIN || y <= 0 || y >= MAP_WIDTH - ORDER_MARGIN) return;
    UnitTable[0].targetX = std::int16_t(x);
    UnitTable[0].targetY = std::int16_t(y);
    UnitTable[0].moveState = MOVE_TO_CELL;
}

void UpdateUnitMoves() {
    if (AppState.passCount % MOVE_PERIOD != 0 || !TablesReady()) return;
    const int limit = MovableLimit();
    int taken = 0;
    for (int u = 1; u < limit && taken < NEW_ORDERS_PER_PASS; ++u) {
        UnitRecord& unit = UnitTable[u];
        if (unit.inUse == 1 && unit.moveState == MOVE_TO_CELL) {
            TakeUpPending(unit, taken);
            MoveToCell(u);
        }
        if (unit.inUse == 1 && unit.moveState == MOVE_FOLLOW) {
            TakeUpPending(unit, taken);
            Follow(u);
        }
    }
}
