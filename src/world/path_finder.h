// The one search context of path finding: node arrays over a square window, the per-unit
// stored paths, the neighbour table and the cost-bucket queue.
#pragma once

#include <cstdint>

constexpr std::uint8_t NODE_CLOSED = 9;
constexpr std::uint8_t MARK_SEEN = 1;        // window border, or a cell already reached
constexpr std::uint8_t MARK_UNIT_STEP = 11;  // next cell of a moving unit
constexpr std::uint8_t MARK_UNIT = 12;       // cell of a unit
constexpr int PATH_ROW = 1000;               // cells of one unit's stored path
constexpr std::int32_t NO_PATH = -9;
constexpr int BUCKET_COUNT = 1000;

struct QueueBucket {
    std::uint8_t inUse;
    std::int32_t prev, next;   // bucket numbers, -1 = none
    float cost;                // -1.0 when free
    std::int32_t first, last;  // item numbers, -1 = none
};

struct QueueItem {
    std::uint8_t inUse;
    std::int32_t bucket;
    std::int32_t prev, next;  // item numbers, -1 = none
    std::int32_t node;
};

struct PathFinderRecord {
    std::int32_t mapWidth;      // MAP_WIDTH when the context was created (W)
    std::int32_t unitCapacity;  // UNIT_CAPACITY when the context was created (C)

    // Node arrays, W * W entries each; node 0 is the start.
    std::int16_t* nodeX;
    std::int16_t* nodeY;
    std::int32_t* nodeParent;
    std::uint8_t* nodeState;  // below NODE_CLOSED counts as open
    float* nodeCost;
    std::uint8_t* windowMarks;  // window-relative, windowSize * windowSize in use

    // Per-unit arrays, C entries each; pathX and pathY hold C rows of PATH_ROW cells.
    std::int32_t* storedGoalX;
    std::int32_t* storedGoalY;
    std::int32_t* pathX;
    std::int32_t* pathY;
    std::int32_t* pathLength;
    std::int32_t* pathIndex;  // NO_PATH when none is stored

    std::int32_t stepDX[8], stepDY[8];
    float stepCost[8];
    std::uint32_t directionClass;

    std::int32_t windowLeft, windowTop, windowSize;
    std::int32_t startX, startY, goalX, goalY;
    std::int32_t searchLevel;
    std::uint32_t useQueue;  // 0 = linear scan of open nodes
    std::int32_t currentNode, lastNode;
    std::int32_t scanMark;
    float bestCost;
    std::int32_t bestNode;
    std::uint8_t foundState;  // 0 searching or failed, 1 goal reached, 3 start is goal
    std::int32_t foundNode;
    std::uint8_t ready;
    std::int32_t resultX, resultY;

    QueueBucket* buckets;  // BUCKET_COUNT
    std::int32_t queueHead;
    QueueItem* items;  // W * W
};

extern PathFinderRecord* PathFinder;

// A context at full size for the current MAP_WIDTH and UNIT_CAPACITY: no paths stored,
// neighbour order class 0, no search begun.
PathFinderRecord* CreatePathFinder();
void ReleasePathFinder(PathFinderRecord* finder);
