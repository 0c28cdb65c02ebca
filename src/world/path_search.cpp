// The search of the path finder: beginning a search in a window of the level, marking the
// units that block it, expanding cells in cost order and reading the path it found. The
// requests (path_requests.cpp) drive it; the open set's order is path_open_set.cpp's.
#include <algorithm>
#include <cstring>
#include <limits>

#include "gamedata/engine_settings.h"
#include "gamedata/terrain_cost.h"
#include "world/path_finder.h"
#include "world/path_open_set.h"
#include "world/world_tables.h"

namespace {

// Nothing, the mountains and the dungeon wall cannot be entered.
constexpr bool Enterable(int tile) {
    return !(tile >= 0 && tile <= 5) && tile != 19 && tile != 20 && tile != 61;
}

// A diagonal step may pass only between plain, forest, hills or dungeon floor.
constexpr bool OpenForDiagonal(int tile) {
    return tile == 10 || tile == 11 || tile == 18 || tile == 60;
}

struct TileRules {
    bool enterable[256];
    bool diagonal[256];
};

constexpr TileRules TILE_RULES = [] {
    TileRules r{};
    for (int t = 0; t < 256; ++t) {
        r.enterable[t] = Enterable(t);
        r.diagonal[t] = OpenForDiagonal(t);
    }
    return r;
}();

// Refuses what would reach past the node arrays or the grid. A refused search leaves
// nothing begun, so a request reads it as failed instead of reading an older search.
bool StartOrRefuse(PathFinderRecord* f, int level, int size, int largestSize) {
    if (f == nullptr) return false;
    f->ready = 0;
    f->foundState = 0;
    return MapGrid != nullptr && f->mapWidth == MAP_WIDTH && level >= 0 && level < LEVEL_COUNT &&
           size >= 3 && size <= largestSize;
}

// Only the first ten records can block: the player's unit and the few beside it.
int BlockingRecords() {
    return UNIT_CAPACITY < 10 ? UNIT_CAPACITY : 10;
}

bool Blocks(const UnitRecord& u, int level) {
    return u.inUse == 1 && u.kind != 0 && u.blocking == 1 && u.level == level;
}

// The rest of beginning a search, once its window is placed.
void BeginInPlacedWindow(PathFinderRecord& f, int type, int sx, int sy, int gx, int gy, int size,
                         int useQueue) {
    int innerLeft = f.windowLeft + 1, innerRight = f.windowLeft + size - 2;
    int innerTop = f.windowTop + 1, innerBottom = f.windowTop + size - 2;
    f.startX = std::clamp(sx, innerLeft, innerRight);
    f.startY = std::clamp(sy, innerTop, innerBottom);
    f.goalX = std::clamp(gx, innerLeft, innerRight);
    f.goalY = std::clamp(gy, innerTop, innerBottom);
    ResetSearchBuffers();

    std::uint8_t* marks = f.windowMarks;
    for (int j = 0; j < size; ++j) {
        marks[j] = marks[(size - 1) * size + j] = MARK_SEEN;
        marks[j * size] = marks[j * size + size - 1] = MARK_SEEN;
    }
    if (type >= 0 && type <= 2) MarkUnitObstacles();
    std::uint8_t& startMark = marks[(f.startY - f.windowTop) * size + (f.startX - f.windowLeft)];
    std::uint8_t& goalMark = marks[(f.goalY - f.windowTop) * size + (f.goalX - f.windowLeft)];
    if (type == 0 || type == 1) startMark = 0;
    if (type == 1) goalMark = 0;
    if (type == 2) {
        if (startMark == MARK_UNIT) startMark = 0;
        if (goalMark == MARK_UNIT) goalMark = 0;
    }

    f.nodeX[0] = std::int16_t(f.startX);
    f.nodeY[0] = std::int16_t(f.startY);
    f.nodeParent[0] = 0;
    f.nodeState[0] = 0;
    f.nodeCost[0] = 1.0f;
    f.currentNode = f.lastNode = f.scanMark = 0;
    f.bestCost = 0;
    f.foundState = 0;
    f.ready = 1;
    SetNeighbourOrder(0);
    f.useQueue = std::uint32_t(useQueue);
}

// Makes node lastNode + 1 at the current node's neighbour j. Costs add in double and are
// rounded once, so both open-set orders and any reference see the same floats.
void AddNodeAt(PathFinderRecord& f, int j, int tile) {
    int cur = f.currentNode;
    int n = ++f.lastNode;
    f.nodeX[n] = std::int16_t(f.nodeX[cur] + f.stepDX[j]);
    f.nodeY[n] = std::int16_t(f.nodeY[cur] + f.stepDY[j]);
    f.nodeParent[n] = cur;
    f.nodeState[n] = 0;
    f.nodeCost[n] = float(1.0 * f.stepCost[j] + f.nodeCost[cur] + TerrainCost[tile]);
    int wx = f.nodeX[n] - f.windowLeft, wy = f.nodeY[n] - f.windowTop;
    f.windowMarks[wy * f.windowSize + wx] = MARK_SEEN;
    OpenSetAdd(f, n);
}

// The current neighbour order as offsets into the window's marks and into the level's tiles.
struct Steps {
    int mark[8];
    long long tile[8];
    long long cornerX[8], cornerY[8];  // the two cells a diagonal passes between
    bool diagonal[8];
};

Steps StepsOf(const PathFinderRecord& f) {
    Steps s;
    for (int j = 0; j < 8; ++j) {
        const int dx = f.stepDX[j], dy = f.stepDY[j];
        s.mark[j] = dy * f.windowSize + dx;
        s.tile[j] = static_cast<long long>(dy) * f.mapWidth + dx;
        s.cornerX[j] = dx;
        s.cornerY[j] = static_cast<long long>(dy) * f.mapWidth;
        s.diagonal[j] = dx != 0 && dy != 0;
    }
    return s;
}

// Expanding the current node: every free, enterable neighbour of it becomes a node. The window's
// border marks keep every neighbour inside the window, and so inside the level; the mark is read
// before the tile for that reason.
void ExpandCurrent(PathFinderRecord& f, const Steps& steps, const std::uint8_t* windowTiles) {
    const int cur = f.currentNode;
    const int wx = f.nodeX[cur] - f.windowLeft, wy = f.nodeY[cur] - f.windowTop;
    const std::uint8_t* marks = f.windowMarks + wy * f.windowSize + wx;
    const std::uint8_t* tiles = windowTiles + static_cast<long long>(wy) * f.mapWidth + wx;
    const bool cornerRule = f.useQueue == 0;
    for (int j = 0; j < 8; ++j) {
        if (marks[steps.mark[j]] != 0) continue;
        const int tile = tiles[steps.tile[j]];
        if (!TILE_RULES.enterable[tile]) continue;
        if (cornerRule && steps.diagonal[j] &&
            !(TILE_RULES.diagonal[tiles[steps.cornerX[j]]] &&
              TILE_RULES.diagonal[tiles[steps.cornerY[j]]]))
            continue;
        AddNodeAt(f, j, tile);
    }
}

// Chooses the next node to expand; false when no node is open, the current one kept (queue
// mode) or replaced by the last node made (linear mode), as the scan over nodes leaves it.
bool ChooseNext(PathFinderRecord& f) {
    int next = OpenSetTake(f);
    if (f.useQueue) {
        if (next < 0) return false;
        f.currentNode = next;
        return true;
    }
    f.bestNode = next < 0 ? f.lastNode : next;
    f.bestCost = next < 0 ? std::numeric_limits<float>::infinity() : f.nodeCost[next];
    int p = f.scanMark;
    while (p <= f.lastNode && f.nodeState[p] >= NODE_CLOSED) ++p;
    if (p <= f.lastNode) f.scanMark = p;
    f.currentNode = f.bestNode;
    return next >= 0;
}

}  // namespace

bool IsEnterable(int tile) {
    return Enterable(tile);
}

bool IsOpenForDiagonal(int tile) {
    return OpenForDiagonal(tile);
}

int BeginSearch(int type, int startX, int startY, int goalX, int goalY, int level, int size,
                int useQueue) {
    PathFinderRecord* f = PathFinder;
    if (!StartOrRefuse(f, level, size, f == nullptr ? 0 : f->mapWidth)) return 0;
    const int w = f->mapWidth;
    f->searchLevel = level;
    startX = std::clamp(startX, 0, w - 1);
    startY = std::clamp(startY, 0, w - 1);
    f->windowSize = size;
    f->windowLeft = std::clamp(startX - size / 2, 0, w - size);
    f->windowTop = std::clamp(startY - size / 2, 0, w - size);
    BeginInPlacedWindow(*f, type, startX, startY, std::clamp(goalX, 0, w - 1),
                        std::clamp(goalY, 0, w - 1), size, useQueue);
    return 0;
}

int BeginSearchInWindow(int type, int windowLeft, int windowTop, int startX, int startY, int goalX,
                        int goalY, int level, int size, int useQueue) {
    PathFinderRecord* f = PathFinder;
    if (!StartOrRefuse(f, level, size, f == nullptr ? 0 : f->mapWidth - 1)) return 0;
    const int w = f->mapWidth;
    f->searchLevel = level;
    f->windowSize = size;
    f->windowLeft = std::clamp(windowLeft, 0, w - size - 1);
    f->windowTop = std::clamp(windowTop, 0, w - size - 1);
    BeginInPlacedWindow(*f, type, std::clamp(startX, 0, w - 1), std::clamp(startY, 0, w - 1),
                        std::clamp(goalX, 0, w - 1), std::clamp(goalY, 0, w - 1), size, useQueue);
    return 0;
}

void ResetSearchBuffers() {
    PathFinderRecord* f = PathFinder;
    if (f == nullptr) return;
    std::size_t n = std::size_t(f->windowSize) * std::size_t(f->windowSize);
    std::memset(f->nodeX, 0, n * sizeof *f->nodeX);
    std::memset(f->nodeY, 0, n * sizeof *f->nodeY);
    std::memset(f->nodeParent, 0, n * sizeof *f->nodeParent);
    std::memset(f->nodeState, 0, n * sizeof *f->nodeState);
    std::memset(f->nodeCost, 0, n * sizeof *f->nodeCost);
    std::memset(f->windowMarks, 0, n * sizeof *f->windowMarks);
    OpenSetClear(*f);
}

bool UnitBlocksCell(int x, int y, int level, int except) {
    if (UnitTable == nullptr) return false;
    for (int i = 0; i < BlockingRecords(); ++i) {
        const UnitRecord& u = UnitTable[i];
        if (i == except || !Blocks(u, level)) continue;
        if ((u.x == x && u.y == y) || (u.moveState == 1 && u.stepX == x && u.stepY == y))
            return true;
    }
    return false;
}

void MarkUnitObstacles() {
    PathFinderRecord* f = PathFinder;
    if (f == nullptr || UnitTable == nullptr) return;
    const int size = f->windowSize;
    auto inside = [&](int x, int y) {
        int rx = x - f->windowLeft, ry = y - f->windowTop;
        return rx > 0 && rx < size - 1 && ry > 0 && ry < size - 1;
    };
    auto mark = [&](int x, int y) -> std::uint8_t& {
        return f->windowMarks[(y - f->windowTop) * size + (x - f->windowLeft)];
    };
    for (int i = 0; i < BlockingRecords(); ++i) {
        const UnitRecord& u = UnitTable[i];
        if (!Blocks(u, f->searchLevel)) continue;
        if (inside(u.x, u.y)) {
            mark(u.x, u.y) = MARK_UNIT;
            if (LEVEL_COUNT > 1) MarkGrid[CellIndex(u.x, u.y, 1)] = MARK_UNIT;
        }
        if (u.moveState == 1 && inside(u.stepX, u.stepY)) mark(u.stepX, u.stepY) = MARK_UNIT_STEP;
    }
}

void AddNode(int direction) {
    PathFinderRecord* f = PathFinder;
    if (f == nullptr || f->ready == 0 || direction < 0 || direction > 7) return;
    if (f->lastNode + 1 >= f->windowSize * f->windowSize) return;
    int x = f->nodeX[f->currentNode] + f->stepDX[direction];
    int y = f->nodeY[f->currentNode] + f->stepDY[direction];
    int wx = x - f->windowLeft, wy = y - f->windowTop;
    if (wx < 0 || wx >= f->windowSize || wy < 0 || wy >= f->windowSize) return;
    AddNodeAt(*f, direction, MapGrid[CellIndex(x, y, f->searchLevel)]);
}

int RunSearch(int maxExpansions) {
    PathFinderRecord* f = PathFinder;
    if (f == nullptr || f->ready == 0) return 5;
    if (f->startX == f->goalX && f->startY == f->goalY) {
        f->foundState = 3;
        return 4;
    }
    const long long cells = static_cast<long long>(f->windowSize) * f->windowSize;
    long long budget = maxExpansions;
    if (budget + f->lastNode >= cells - 9) budget = cells - f->lastNode - 9;
    const std::uint8_t* windowTiles =
        MapGrid + CellIndex(f->windowLeft, f->windowTop, f->searchLevel);
    const Steps steps = StepsOf(*f);
    for (long long i = 0; i < budget; ++i) {
        ExpandCurrent(*f, steps, windowTiles);
        int cur = f->currentNode;
        f->nodeState[cur] = NODE_CLOSED;
        f->windowMarks[(f->nodeY[cur] - f->windowTop) * f->windowSize +
                       (f->nodeX[cur] - f->windowLeft)] = MARK_CLOSED;
        const bool open = ChooseNext(*f);
        if (f->nodeX[f->currentNode] == f->goalX && f->nodeY[f->currentNode] == f->goalY) {
            f->foundState = 1;
            f->foundNode = f->currentNode;
            return 1;
        }
        // With no node open, every further pass would expand an expanded node again, choose
        // the same one and test it again: nothing can change before the budget ends.
        if (!open) return 0;
    }
    return 0;
}

int StorePath(int unit) {
    PathFinderRecord* f = PathFinder;
    if (f == nullptr || unit < 0 || unit >= f->unitCapacity) return 0;
    const int found = f->currentNode;
    // Parents are always made before their children, so the chain ends at node 0.
    auto parentOf = [&](int n) {
        int p = f->nodeParent[n];
        return (p >= 0 && p < n) ? p : 0;
    };
    int length = 1;
    for (int n = found; parentOf(n) != 0; n = parentOf(n)) ++length;

    // Cell i of the chain (1 = first step, length = found) goes to entry kept - i: the far
    // end first, the first step last; past PATH_ROW only the cells nearest the start stay.
    const int kept = length < PATH_ROW ? length : PATH_ROW;
    std::int32_t* rowX = f->pathX + static_cast<long long>(unit) * PATH_ROW;
    std::int32_t* rowY = f->pathY + static_cast<long long>(unit) * PATH_ROW;
    int n = found;
    for (int i = length; i >= 1; --i, n = parentOf(n)) {
        if (i <= kept) {
            rowX[kept - i] = f->nodeX[n];
            rowY[kept - i] = f->nodeY[n];
        }
        if (i == 1) {
            f->resultX = f->nodeX[n];
            f->resultY = f->nodeY[n];
        }
    }
    f->pathLength[unit] = kept;
    f->pathIndex[unit] = kept - 1;
    return length;
}

int ReadResultNode(int allowAdjacent) {
    PathFinderRecord* f = PathFinder;
    if (f == nullptr) return 0;
    f->resultX = f->nodeX[f->currentNode];
    f->resultY = f->nodeY[f->currentNode];
    return (allowAdjacent == 1 || f->nodeParent[f->currentNode] != 0) ? 1 : 0;
}
