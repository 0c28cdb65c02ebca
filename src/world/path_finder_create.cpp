// Creation and release of the path finder's context; the search itself lives beside it.
// Start-up creates the one context at full size so that no search ever allocates.
#include <cstdlib>

#include "gamedata/engine_settings.h"
#include "gamedata/table_memory.h"
#include "world/path_finder.h"

PathFinderRecord* PathFinder = nullptr;

namespace {

// Neighbour order class 0: north first, then clockwise; diagonals are the odd entries.
constexpr std::int32_t CLASS0_DX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr std::int32_t CLASS0_DY[8] = {1, 1, 0, -1, -1, -1, 0, 1};

}  // namespace

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
    for (int j = 0; j < 8; ++j) {
        f->stepDX[j] = CLASS0_DX[j];
        f->stepDY[j] = CLASS0_DY[j];
        f->stepCost[j] = (j % 2 == 1) ? 1.4142f : 1.0f;
    }
    f->directionClass = 0;
    f->ready = 0;
    f->buckets = CreateTableOf<QueueBucket>("path finder queue", BUCKET_COUNT);
    f->items = CreateTableOf<QueueItem>("path finder queue", nodes);
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
    std::free(f->buckets);
    std::free(f->items);
    std::free(f);
}
