// Creation and release of the path finder's context, and its neighbour orders. Start-up
// creates the one context at full size so that no search ever allocates.
#include <cstdlib>

#include "gamedata/engine_settings.h"
#include "gamedata/table_memory.h"
#include "world/path_finder.h"
#include "world/path_open_set.h"

PathFinderRecord* PathFinder = nullptr;

namespace {

// Entry j of class c is the step (dx, dy) tried j-th; classes 0, 2, 4 and 6 have their
// diagonals at the odd entries, the others at the even ones.
constexpr std::int32_t NEIGHBOUR_ORDERS[8][8][2] = {
    {{0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}},
    {{-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}},
    {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}},
    {{-1, -1}, {-1, 0}, {-1, 1}, {0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}},
    {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}},
    {{1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}, {0, 1}, {1, 1}, {1, 0}},
    {{-1, 0}, {-1, 1}, {0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}},
    {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}},
};

constexpr float DIAGONAL_COST = 1.4142f;

void ApplyNeighbourOrder(PathFinderRecord& f, int directionClass) {
    if (directionClass < 0 || directionClass > 7) return;
    for (int j = 0; j < 8; ++j) {
        f.stepDX[j] = NEIGHBOUR_ORDERS[directionClass][j][0];
        f.stepDY[j] = NEIGHBOUR_ORDERS[directionClass][j][1];
        bool diagonal = f.stepDX[j] != 0 && f.stepDY[j] != 0;
        f.stepCost[j] = diagonal ? DIAGONAL_COST : 1.0f;
    }
    f.directionClass = std::uint32_t(directionClass);
}

}  // namespace

void SetNeighbourOrder(int directionClass) {
    if (PathFinder != nullptr) ApplyNeighbourOrder(*PathFinder, directionClass);
}

PathFinderRecord* CreatePathFinder() {
    auto* f = CreateTableOf<PathFinderRecord>("path finder", 1);
    f->mapWidth = MAP_WIDTH;
    f->unitCapacity = UNIT_CAPACITY;
    long long nodes = static_cast<long long>(MAP_WIDTH) * MAP_WIDTH;
    long long units = UNIT_CAPACITY;
    f->nodeX = CreateTableOf<std::int16_t>("path finder nodes", nodes);
    f->nodeY = CreateTableOf<std::int16_t>("path finder nodes", nodes);
    f->nodeParent = CreateTableOf<std::int32_t>("path finder nodes", nodes);
    f->nodeState = CreateTableOf<std::uint8_t>("path finder nodes", nodes);
    f->nodeCost = CreateTableOf<float>("path finder nodes", nodes);
    f->windowMarks = CreateTableOf<std::uint8_t>("path finder window", nodes);
    f->storedGoalX = CreateTableOf<std::int32_t>("path finder goals", units);
    f->storedGoalY = CreateTableOf<std::int32_t>("path finder goals", units);
    f->pathX = CreateTableOf<std::int32_t>("path finder paths", units * PATH_ROW);
    f->pathY = CreateTableOf<std::int32_t>("path finder paths", units * PATH_ROW);
    f->pathLength = CreateTableOf<std::int32_t>("path finder paths", units);
    f->pathIndex = CreateTableOf<std::int32_t>("path finder paths", units);
    for (long long u = 0; u < units; ++u) f->pathIndex[u] = NO_PATH;
    ApplyNeighbourOrder(*f, 0);
    f->ready = 0;
    f->openNext = CreateTableOf<std::int32_t>("path finder open set", nodes);
    f->openRun = CreateTableOf<std::uint64_t>("path finder open set", nodes);
    f->openHeap = CreateTableOf<std::uint64_t>("path finder open set", nodes);
    f->costCounts = CreateTableOf<CostCount>("path finder open set", COST_TABLE_SLOTS);
    f->openInsertionNode = CreateTableOf<std::int32_t>("path finder open set", nodes);
    OpenSetClear(*f);
    return f;
}

void ReleasePathFinder(PathFinderRecord* f) {
    if (f == nullptr) return;
    std::free(f->nodeX);
    std::free(f->nodeY);
    std::free(f->nodeParent);
    std::free(f->nodeState);
    std::free(f->nodeCost);
    std::free(f->windowMarks);
    std::free(f->storedGoalX);
    std::free(f->storedGoalY);
    std::free(f->pathX);
    std::free(f->pathY);
    std::free(f->pathLength);
    std::free(f->pathIndex);
    std::free(f->openNext);
    std::free(f->openRun);
    std::free(f->openHeap);
    std::free(f->costCounts);
    std::free(f->openInsertionNode);
    std::free(f);
}
