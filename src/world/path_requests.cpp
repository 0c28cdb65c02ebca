// The six path requests: each plans one unit's next cell toward a destination on the unit's
// own level, walking a stored path or planning anew. The unit mover calls them; to end an
// order is to set the unit's moveState to 0.
#include <algorithm>
#include <cstdlib>

#include "gamedata/engine_settings.h"
#include "world/path_finder.h"
#include "world/world_tables.h"

namespace {

UnitRecord* RequestUnit(int unit) {
    PathFinderRecord* f = PathFinder;
    if (f == nullptr || UnitTable == nullptr || unit < 0 || unit >= f->unitCapacity ||
        unit >= UNIT_CAPACITY)
        return nullptr;
    return &UnitTable[unit];
}

void EndOrder(UnitRecord& u) {
    u.moveState = 0;
}

// Runs the search a request has begun; true when it reached the goal.
bool RunBegunSearch(int size) {
    if (PathFinder->ready == 0) return false;
    RunSearch(size * size);
    return PathFinder->foundState == 1;
}

// What a search from a unit found: nothing, a path from the unit's cell, or a way on from
// the cell next to the unit where the search had to start instead (see SearchFromUnit).
enum class Search { Failed, Found, StepInward };

// Whether the unit may step onto the neighbouring cell (x, y) as the search would let it.
bool MayStepTo(const UnitRecord& u, int unit, int x, int y, int useQueue) {
    const int level = u.level;
    if (!IsEnterable(MapGrid[CellIndex(x, y, level)])) return false;
    if (useQueue == 0 && x != u.x && y != u.y &&
        !(IsOpenForDiagonal(MapGrid[CellIndex(x, u.y, level)]) &&
          IsOpenForDiagonal(MapGrid[CellIndex(u.x, y, level)])))
        return false;
    const bool goal = x == PathFinder->goalX && y == PathFinder->goalY;
    return goal || !UnitBlocksCell(x, y, level, unit);
}

// The cell of the map a destination names: the search takes it clamped onto the map first.
int OntoMap(int v) {
    return std::clamp(v, 0, PathFinder->mapWidth - 1);
}

// A unit on the level's outer edge stands on the window's border, so the search starts from
// the interior cell beside it. Its first step would then lie two cells away, past a cell it
// never entered; instead it steps onto that interior cell, when it could walk there and the
// goal is reachable (or is that cell), and plans from there on its next move.
Search SearchFromUnit(const UnitRecord& u, int unit, int tx, int ty, int size, int useQueue) {
    BeginSearch(1, u.x, u.y, tx, ty, u.level, size, useQueue);
    PathFinderRecord* f = PathFinder;
    if (f->ready == 0) return Search::Failed;
    if (f->startX == u.x && f->startY == u.y)
        return RunBegunSearch(size) ? Search::Found : Search::Failed;
    // A unit off the map is not stepped onto it; one asked for its own cell stays there.
    const bool offMap = u.x >= f->mapWidth || u.y >= f->mapWidth;
    const bool ownCell = OntoMap(tx) == u.x && OntoMap(ty) == u.y;
    if (offMap || ownCell || !MayStepTo(u, unit, f->startX, f->startY, useQueue)) {
        f->ready = 0;
        return Search::Failed;
    }
    RunSearch(size * size);
    return f->foundState == 1 || f->foundState == 3 ? Search::StepInward : Search::Failed;
}

// The step of Search::StepInward; no path is stored. A follower next to its target, or
// whose step would be the target, stays: false then, and nothing is set.
bool TakeInwardStep(UnitRecord& u, int unit, int tx, int ty, bool follow) {
    const int x = PathFinder->startX, y = PathFinder->startY;
    tx = OntoMap(tx);
    ty = OntoMap(ty);
    const bool beside = std::abs(u.x - tx) <= 1 && std::abs(u.y - ty) <= 1;
    if (follow && (beside || (x == tx && y == ty))) return false;
    PathFinder->pathIndex[unit] = NO_PATH;
    PathFinder->pathLength[unit] = 0;
    u.stepX = std::int16_t(x);
    u.stepY = std::int16_t(y);
    return true;
}

// A unit moved from a start clamped into the window would jump; the window must hold it.
bool SearchFromUnitInWindow(const UnitRecord& u, int tx, int ty, int size, int left, int top,
                            int useQueue) {
    BeginSearchInWindow(1, left, top, u.x, u.y, tx, ty, u.level, size, useQueue);
    if (PathFinder->ready == 1 && (PathFinder->startX != u.x || PathFinder->startY != u.y)) {
        PathFinder->ready = 0;
        return false;
    }
    return RunBegunSearch(size);
}

// Entry `entry` of the unit's stored row.
void ReadRowEntry(int unit, int entry, int& x, int& y) {
    long long at = static_cast<long long>(unit) * PATH_ROW + entry;
    x = PathFinder->pathX[at];
    y = PathFinder->pathY[at];
}

void SetStepFromRow(UnitRecord& u, int unit, int entry) {
    int x, y;
    ReadRowEntry(unit, entry, x, y);
    u.stepX = std::int16_t(x);
    u.stepY = std::int16_t(y);
}

// One step along the unit's stored row. When it uses the path up the order ends and the
// caller decides where the unit stands; a negative index other than NO_PATH changes nothing.
enum class Walk { Stepped, UsedUp, Nothing };

Walk WalkStoredPath(UnitRecord& u, int unit) {
    std::int32_t& index = PathFinder->pathIndex[unit];
    if (index < 0 || index >= PATH_ROW) return Walk::Nothing;
    SetStepFromRow(u, unit, index);
    --index;
    if (index != -1) return Walk::Stepped;
    index = NO_PATH;
    EndOrder(u);
    return Walk::UsedUp;
}

int StoredPathRequest(int unit, int tx, int ty, int size, int useQueue, int advance, bool follow) {
    UnitRecord* u = RequestUnit(unit);
    if (u == nullptr) return 0;
    std::int32_t& index = PathFinder->pathIndex[unit];
    if (index == NO_PATH) {
        Search search = SearchFromUnit(*u, unit, tx, ty, size, useQueue);
        if (search == Search::Failed) {
            index = NO_PATH;
            if (!follow) PathFinder->pathLength[unit] = 0;
            EndOrder(*u);
            return 0;
        }
        if (search == Search::StepInward) {
            if (TakeInwardStep(*u, unit, tx, ty, follow)) return 1;
            EndOrder(*u);
            return 0;
        }
        PathFinder->storedGoalX[unit] = tx;
        PathFinder->storedGoalY[unit] = ty;
        StorePath(unit);
        SetStepFromRow(*u, unit, index);
        // A follower never steps onto the unit it follows.
        if (follow && u->stepX == tx && u->stepY == ty) {
            index = NO_PATH;
            EndOrder(*u);
            return 0;
        }
        if (advance == 1) --index;
        return 1;
    }
    Walk walk = WalkStoredPath(*u, unit);
    if (walk == Walk::Stepped) return 1;
    if (walk == Walk::UsedUp && !follow) {
        // The path's far end, which is the destination unless the window or the row cut it.
        int x, y;
        ReadRowEntry(unit, 0, x, y);
        u->x = std::uint16_t(x);
        u->y = std::uint16_t(y);
    }
    return 0;
}

int NextStepRequest(UnitRecord& u, int unit, Search search, int tx, int ty, bool follow,
                    bool clearsFlag) {
    if (search == Search::Failed) {
        EndOrder(u);
        if (clearsFlag) u.searchFlag = 0;
        return 0;
    }
    if (search == Search::StepInward) return TakeInwardStep(u, unit, tx, ty, follow) ? 1 : 2;
    if (ReadResultNode(follow ? 0 : 1) == 0) return 2;
    StorePath(unit);
    u.stepX = std::int16_t(PathFinder->resultX);
    u.stepY = std::int16_t(PathFinder->resultY);
    return 1;
}

}  // namespace

int RequestStoredPath(int unit, int tx, int ty, int size, int useQueue, int advance) {
    return StoredPathRequest(unit, tx, ty, size, useQueue, advance, false);
}

int RequestFollowPath(int unit, int tx, int ty, int size, int useQueue, int advance) {
    return StoredPathRequest(unit, tx, ty, size, useQueue, advance, true);
}

int RequestNextStep(int unit, int tx, int ty, int size, int useQueue) {
    UnitRecord* u = RequestUnit(unit);
    if (u == nullptr) return 0;
    Search search = SearchFromUnit(*u, unit, tx, ty, size, useQueue);
    return NextStepRequest(*u, unit, search, tx, ty, false, true);
}

int RequestFollowStep(int unit, int tx, int ty, int size, int useQueue) {
    UnitRecord* u = RequestUnit(unit);
    if (u == nullptr) return 0;
    Search search = SearchFromUnit(*u, unit, tx, ty, size, useQueue);
    return NextStepRequest(*u, unit, search, tx, ty, true, true);
}

int RequestNextStepInWindow(int unit, int tx, int ty, int size, int left, int top, int useQueue) {
    UnitRecord* u = RequestUnit(unit);
    if (u == nullptr) return 0;
    bool found = SearchFromUnitInWindow(*u, tx, ty, size, left, top, useQueue);
    return NextStepRequest(*u, unit, found ? Search::Found : Search::Failed, tx, ty, false, false);
}

int RequestFollowStepInWindow(int unit, int tx, int ty, int size, int left, int top, int useQueue) {
    UnitRecord* u = RequestUnit(unit);
    if (u == nullptr) return 0;
    bool found = SearchFromUnitInWindow(*u, tx, ty, size, left, top, useQueue);
    return NextStepRequest(*u, unit, found ? Search::Found : Search::Failed, tx, ty, true, false);
}
