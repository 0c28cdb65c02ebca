// The one search context of path finding: node arrays over a square window, the per-unit
// stored paths, the neighbour table and the open set; the search primitives over it and the
// six requests that the unit mover and the tile view call.
#pragma once

#include <cstdint>

constexpr std::uint8_t NODE_CLOSED = 9;
constexpr std::uint8_t MARK_SEEN = 1;        // window border, or a cell already reached
constexpr std::uint8_t MARK_CLOSED = 9;      // cell of a closed node
constexpr std::uint8_t MARK_UNIT_STEP = 11;  // next cell of a moving unit
constexpr std::uint8_t MARK_UNIT = 12;       // cell of a unit
constexpr int PATH_ROW = 1000;               // cells of one unit's stored path
constexpr std::int32_t NO_PATH = -9;
// Queue mode holds nodes of at most this many distinct costs at once; a node of a new cost
// arriving while all are taken is left out of the queue.
constexpr int BUCKET_COUNT = 1000;
constexpr int COST_TABLE_SLOTS = 2048;  // open-addressed, a power of two above BUCKET_COUNT
// Bands of one cost unit the open set files nodes in; a step costs far less than this many.
constexpr int OPEN_BANDS = 1024;

// How many queued nodes share one exact cost (queue mode); count 0 marks a free slot.
struct CostCount {
    std::uint32_t costBits;
    std::int32_t count;
};

struct PathFinderRecord {
    std::int32_t mapWidth;      // MAP_WIDTH when the context was created (W)
    std::int32_t unitCapacity;  // UNIT_CAPACITY when the context was created (C)

    // Node arrays, W * W entries each; node 0 is the start, nodes numbered in creation order.
    std::int16_t* nodeX;
    std::int16_t* nodeY;
    std::int32_t* nodeParent;
    std::uint8_t* nodeState;  // below NODE_CLOSED counts as open
    float* nodeCost;
    std::uint8_t* windowMarks;  // window-relative, windowSize * windowSize in use

    // Per-unit arrays, C entries each; pathX and pathY hold C rows of PATH_ROW cells.
    std::int32_t* storedGoalX;
    std::int32_t* storedGoalY;
    std::int32_t* pathX;  // row u: unit u's path, far end first, first step last
    std::int32_t* pathY;
    std::int32_t* pathLength;
    std::int32_t* pathIndex;  // next entry to step onto; NO_PATH when none is stored

    std::int32_t stepDX[8], stepDY[8];
    float stepCost[8];
    std::uint32_t directionClass;

    std::int32_t windowLeft, windowTop, windowSize;
    std::int32_t startX, startY, goalX, goalY;
    std::int32_t searchLevel;
    std::uint32_t useQueue;  // 0 = linear open-set order, else the cost-bucket order
    std::int32_t currentNode, lastNode;
    std::int32_t scanMark;  // lowest node number that may still be open
    float bestCost;
    std::int32_t bestNode;
    std::uint8_t foundState;  // 0 searching or failed, 1 goal reached, 3 start is goal
    std::int32_t foundNode;
    std::uint8_t ready;
    std::int32_t resultX, resultY;

    // The open set (path_open_set.cpp): keys (cost, then node number: descending in linear
    // mode, ascending in queue mode, where nodes come in creation order) filed in bands of one
    // cost unit, the band being taken sorted; a heap instead for a search whose costs outgrow
    // the bands, or that is given a node out of creation order.
    std::int32_t* openNext;  // W * W links of the bands' lists; -1 ends a list
    std::int32_t openBand[OPEN_BANDS];
    std::uint64_t openBandBits[OPEN_BANDS / 64];  // bands that hold nodes
    std::int64_t openCurrentBand;                 // every band held lies above it
    std::uint64_t* openRun;                       // W * W: the current band's keys, sorted
    std::int32_t openRunStart, openRunEnd;
    std::uint64_t* openHeap;  // W * W: a four-way heap, used once openInHeap is set
    std::int32_t openHeapCount;
    std::uint8_t openInHeap;
    std::int32_t openCount;
    CostCount* costCounts;  // COST_TABLE_SLOTS entries, queue mode only
    std::int32_t distinctCosts;
    std::int32_t openLastAdded;  // the highest node added since the set was cleared
    // Queue mode once a node came out of creation order: ties are numbers of insertion.
    std::uint8_t openByInsertion;
    std::uint32_t openInsertions;     // the next number of insertion
    std::int32_t* openInsertionNode;  // W * W: the node of each number
};

extern PathFinderRecord* PathFinder;

// A context at full size for the current MAP_WIDTH and UNIT_CAPACITY: no paths stored,
// neighbour order class 0, no search begun.
PathFinderRecord* CreatePathFinder();
void ReleasePathFinder(PathFinderRecord* finder);

// --- search primitives, on the one PathFinder ---

// Begins a search of `level` from (startX, startY) to (goalX, goalY) in a window of side
// windowSize centred on the start (or placed at (windowLeft, windowTop)), start and goal
// clamped into its interior. Type 0, 1 or 2 marks the blocking units; 0 and 1 clear the
// start's mark, 1 also the goal's, 2 clears either only where a unit marked it. A side
// outside 3..W (3..W-1 for the placed window), a level outside the grid or a context made
// for another MAP_WIDTH leaves no search begun. Always 0.
int BeginSearch(int type, int startX, int startY, int goalX, int goalY, int level, int windowSize,
                int useQueue);
int BeginSearchInWindow(int type, int windowLeft, int windowTop, int startX, int startY, int goalX,
                        int goalY, int level, int windowSize, int useQueue);
// 1 goal reached, 0 not found within maxExpansions, 4 start is goal, 5 no search begun.
int RunSearch(int maxExpansions);
// Stores the found path of `unit` (the PATH_ROW cells nearest the start when it is longer)
// and sets resultX/resultY to its first step; the number of parent links followed.
int StorePath(int unit);
// resultX/resultY = the current node's cell; 1 if allowAdjacent or the cell is not next to
// the start.
int ReadResultNode(int allowAdjacent);
void SetNeighbourOrder(int directionClass);
void MarkUnitObstacles();
void ResetSearchBuffers();
void AddNode(int direction);
void QueueInsert(int node);
int QueuePop();  // -1 when the queue is empty

// Tile rules of the search.
bool IsEnterable(int tile);
bool IsOpenForDiagonal(int tile);
// Whether one of the units that block searches stands on (x, y) of `level` or is stepping
// onto it; unit `except` is not counted.
bool UnitBlocksCell(int x, int y, int level, int except);

// --- requests: plan unit u's move toward (tx, ty) on its own level ---
// 1: stepX/stepY of the unit hold its next cell; 0: the order ended (moveState 0).
int RequestStoredPath(int unit, int tx, int ty, int size, int useQueue, int advance);
int RequestFollowPath(int unit, int tx, int ty, int size, int useQueue, int advance);
int RequestNextStep(int unit, int tx, int ty, int size, int useQueue);
// As RequestNextStep; 2 when the target is next to the unit (no step is set).
int RequestFollowStep(int unit, int tx, int ty, int size, int useQueue);
// In a window placed at (left, top); the unit's own cell must lie inside its interior.
int RequestNextStepInWindow(int unit, int tx, int ty, int size, int left, int top, int useQueue);
int RequestFollowStepInWindow(int unit, int tx, int ty, int size, int left, int top, int useQueue);
