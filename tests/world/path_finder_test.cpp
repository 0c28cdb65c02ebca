// Path finding on hand-made grids, one rule at a time: the open-set order, the corner rule,
// the window and its clamping, blocking units, stored paths and their walk, the requests'
// answers, and the inputs a request refuses.
#include <cstdlib>
#include <set>

#include "world/path_reference.h"
#include "world/world_fixture.h"

namespace {

constexpr int PLAIN = 10, FOREST = 11, WATER = 14, DEEP_WATER = 15, MOUNTAIN = 19, ROAD = 22;

class PathFinderTest : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        Fill(0, 0, 255, 255, PLAIN);
    }
    // A unit standing at (x, y) of `level`, idle and not blocking.
    static UnitRecord& PlaceUnit(int u, int x, int y, int level = 0) {
        UnitRecord& r = UnitTable[u];
        r.inUse = 1;
        r.kind = KIND_UNIT;
        r.id = u;
        r.x = std::uint16_t(x);
        r.y = std::uint16_t(y);
        r.level = std::uint16_t(level);
        r.moveState = 1;
        return r;
    }
    static void Block(int u, int x, int y, int level = 0) {
        PlaceUnit(u, x, y, level).blocking = 1;
        UnitTable[u].moveState = 0;
    }
    static int RowX(int u, int entry) { return PathFinder->pathX[u * PATH_ROW + entry]; }
    static int RowY(int u, int entry) { return PathFinder->pathY[u * PATH_ROW + entry]; }
    static bool Adjacent(int ax, int ay, int bx, int by) {
        return std::abs(ax - bx) <= 1 && std::abs(ay - by) <= 1 && !(ax == bx && ay == by);
    }
};

TEST_F(PathFinderTest, EqualCostsGoToTheLastMadeNodeInLinearModeAndTheFirstQueuedInQueueMode) {
    // From (100, 100) the four orthogonal neighbours cost the same; class 0 makes them as
    // nodes 1 (north), 3 (east), 5 (south) and 7 (west).
    BeginSearch(1, 100, 100, 130, 100, 0, 64, 0);
    ASSERT_EQ(RunSearch(1), 0);
    EXPECT_EQ(PathFinder->lastNode, 8);
    EXPECT_EQ(PathFinder->currentNode, 7);
    EXPECT_EQ(PathFinder->nodeX[7], 99);
    EXPECT_EQ(PathFinder->nodeCost[7], 32.0f);  // 1 + step 1 + plain 30
    EXPECT_EQ(PathFinder->nodeCost[2], float(1.0 * 1.4142f + 1.0f + 30.0f));

    BeginSearch(1, 100, 100, 130, 100, 0, 64, 1);
    ASSERT_EQ(RunSearch(1), 0);
    EXPECT_EQ(PathFinder->currentNode, 1);
    EXPECT_EQ(PathFinder->nodeY[1], 101);

    // Queued again out of creation order, equal costs still leave first in, first out
    // (4 and 8 are diagonal steps, 3 and 7 orthogonal ones).
    BeginSearch(1, 100, 100, 110, 110, 0, 16, 1);
    RunSearch(1);
    while (QueuePop() != -1) {
    }
    for (int n : {8, 4, 7, 3}) QueueInsert(n);
    for (int n : {7, 3, 8, 4, -1}) EXPECT_EQ(QueuePop(), n);
}

TEST_F(PathFinderTest, WithNothingLeftOpenTheKeptNodeIsStillTestedAgainstTheGoal) {
    Fill(0, 0, 255, 255, 61);
    Tile(100, 100) = Tile(101, 100) = PLAIN;
    for (int q : {0, 1}) {
        BeginSearch(1, 100, 100, 101, 100, 0, 16, q);
        ASSERT_EQ(RunSearch(1), 1) << q;
        EXPECT_EQ(RunSearch(1), 1) << q;
    }
}

TEST_F(PathFinderTest, DiagonalsPassOnlyBetweenOpenTilesInLinearMode) {
    PlaceUnit(4, 50, 50);
    // Deep water can be entered (dearer than plain), but a diagonal may not pass beside it.
    Tile(51, 50) = DEEP_WATER;
    ASSERT_EQ(RequestNextStep(4, 51, 51, 64, 0), 1);
    EXPECT_EQ(UnitTable[4].stepX, 50);
    EXPECT_EQ(UnitTable[4].stepY, 51);
    EXPECT_EQ(PathFinder->pathLength[4], 2);

    // Queue mode has no corner rule: straight onto the goal.
    ASSERT_EQ(RequestNextStep(4, 51, 51, 64, 1), 1);
    EXPECT_EQ(UnitTable[4].stepX, 51);
    EXPECT_EQ(UnitTable[4].stepY, 51);
    EXPECT_EQ(PathFinder->pathLength[4], 1);

    // A road beside the diagonal blocks it too (the path takes the cheap road instead);
    // forest does not.
    Tile(51, 50) = ROAD;
    ASSERT_EQ(RequestNextStep(4, 51, 51, 64, 0), 1);
    EXPECT_EQ(PathFinder->pathLength[4], 2);
    Tile(51, 50) = FOREST;
    ASSERT_EQ(RequestNextStep(4, 51, 51, 64, 0), 1);
    EXPECT_EQ(PathFinder->pathLength[4], 1);
}

TEST_F(PathFinderTest, AFarGoalIsClampedIntoTheWindowAndTheWalkEndsThere) {
    PlaceUnit(5, 100, 100);
    ASSERT_EQ(RequestStoredPath(5, 200, 100, 64, 0, 1), 1);
    EXPECT_EQ(PathFinder->windowLeft, 68);
    EXPECT_EQ(PathFinder->goalX, 130);
    EXPECT_EQ(PathFinder->storedGoalX[5], 200);
    EXPECT_EQ(RowX(5, 0), 130);
    EXPECT_EQ(RowY(5, 0), 100);
    EXPECT_EQ(PathFinder->pathLength[5], 30);

    // Walk it as the unit mover does: every move is to a neighbouring cell, and the used-up
    // path leaves the unit on the path's far end, not on the unreachable requested goal.
    UnitRecord& u = UnitTable[5];
    int moves = 0;
    int result = 1;
    while (result == 1 && moves < 100) {
        ASSERT_TRUE(Adjacent(u.x, u.y, u.stepX, u.stepY));
        u.x = std::uint16_t(u.stepX);
        u.y = std::uint16_t(u.stepY);
        ++moves;
        result = RequestStoredPath(5, 200, 100, 64, 0, 1);
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(moves, 29);
    EXPECT_EQ(u.x, 130);
    EXPECT_EQ(u.y, 100);
    EXPECT_EQ(u.moveState, 0);
    EXPECT_EQ(PathFinder->pathIndex[5], NO_PATH);
}

TEST_F(PathFinderTest, OnlyBlockingUnitsAmongTheFirstTenOnTheSearchedLevelBlock) {
    // A corridor one cell wide from x = 90 to 110 on row 100.
    Fill(80, 90, 120, 110, MOUNTAIN);
    Fill(90, 100, 110, 100, PLAIN);
    PlaceUnit(0, 95, 100);
    auto reaches = [] { return RequestNextStep(0, 105, 100, 64, 0) == 1; };
    ASSERT_TRUE(reaches());

    Block(3, 100, 100);
    UnitTable[0].searchFlag = 1;
    EXPECT_FALSE(reaches());
    EXPECT_EQ(UnitTable[0].moveState, 0);
    EXPECT_EQ(UnitTable[0].searchFlag, 0);
    EXPECT_EQ(MarkGrid[CellIndex(100, 100, 1)], MARK_UNIT);

    UnitTable[3].blocking = 0;
    EXPECT_TRUE(reaches());
    UnitTable[3].blocking = 1;
    UnitTable[3].level = 2;
    EXPECT_TRUE(reaches());
    UnitTable[3] = UnitRecord{};
    Block(10, 100, 100);
    EXPECT_TRUE(reaches());

    // A moving unit elsewhere blocks the cell it steps onto next.
    Block(6, 30, 30);
    UnitTable[6].moveState = 1;
    UnitTable[6].stepX = 100;
    UnitTable[6].stepY = 100;
    EXPECT_FALSE(reaches());
    EXPECT_EQ(
        PathFinder->windowMarks[(100 - PathFinder->windowTop) * 64 + 100 - PathFinder->windowLeft],
        MARK_UNIT_STEP);
    UnitTable[6] = UnitRecord{};

    // Neither the unit's own cell nor a unit standing on the goal stops the search.
    UnitTable[0].blocking = 1;
    UnitTable[0].moveState = 0;
    Block(7, 105, 100);
    EXPECT_TRUE(reaches());
}

TEST_F(PathFinderTest, AStartOnItsGoalEndsTheOrderWithoutAMove) {
    PlaceUnit(2, 100, 100);
    BeginSearch(1, 100, 100, 100, 100, 0, 64, 0);
    EXPECT_EQ(RunSearch(4087), 4);
    EXPECT_EQ(PathFinder->foundState, 3);
    EXPECT_EQ(RequestNextStep(2, 100, 100, 64, 0), 0);
    EXPECT_EQ(UnitTable[2].moveState, 0);
    UnitTable[2].moveState = 1;
    EXPECT_EQ(RequestStoredPath(2, 100, 100, 64, 0, 1), 0);
    EXPECT_EQ(UnitTable[2].moveState, 0);
    EXPECT_EQ(UnitTable[2].x, 100);
    EXPECT_EQ(PathFinder->pathIndex[2], NO_PATH);
}

TEST_F(PathFinderTest, FollowersStopNextToTheirTarget) {
    PlaceUnit(2, 100, 100);
    UnitTable[2].stepX = UnitTable[2].stepY = -1;
    EXPECT_EQ(RequestFollowStep(2, 101, 101, 64, 0), 2);
    EXPECT_EQ(UnitTable[2].stepX, -1);
    EXPECT_EQ(UnitTable[2].moveState, 1);
    EXPECT_EQ(PathFinder->pathIndex[2], NO_PATH);
    EXPECT_EQ(RequestNextStep(2, 101, 101, 64, 0), 1);  // a mover steps onto it
    EXPECT_EQ(UnitTable[2].stepX, 101);

    // The stored-path follower ends its order instead of stepping onto the target.
    PathFinder->pathIndex[2] = NO_PATH;
    EXPECT_EQ(RequestFollowPath(2, 101, 100, 64, 0, 1), 0);
    EXPECT_EQ(UnitTable[2].moveState, 0);
    EXPECT_EQ(PathFinder->pathIndex[2], NO_PATH);

    // Two cells away it takes the step between, and the walk ends before the target.
    UnitTable[2].moveState = 2;
    ASSERT_EQ(RequestFollowPath(2, 102, 100, 64, 0, 1), 1);
    EXPECT_EQ(UnitTable[2].stepX, 101);
    UnitTable[2].x = 101;
    EXPECT_EQ(RequestFollowPath(2, 102, 100, 64, 0, 1), 0);
    EXPECT_EQ(UnitTable[2].x, 101);
    EXPECT_EQ(UnitTable[2].moveState, 0);
}

TEST_F(PathFinderTest, WindowSizesOutsideTheArraysAndLevelsOutsideTheGridFailTheRequest) {
    PlaceUnit(1, 100, 100);
    ASSERT_EQ(RequestNextStep(1, 103, 100, 64, 0), 1);
    for (int size : {300, 257, 2, 0, -4}) {
        UnitTable[1].moveState = 1;
        EXPECT_EQ(RequestNextStep(1, 103, 100, size, 0), 0) << size;
        EXPECT_EQ(UnitTable[1].moveState, 0) << size;
        EXPECT_EQ(PathFinder->foundState, 0) << size;  // nothing left of the earlier search
        EXPECT_EQ(RunSearch(100), 5) << size;
    }
    UnitTable[1].moveState = 1;
    EXPECT_EQ(RequestNextStepInWindow(1, 103, 100, 256, 0, 0, 0), 0);
    EXPECT_EQ(UnitTable[1].moveState, 0);
    UnitTable[1].moveState = 1;
    EXPECT_EQ(RequestNextStep(1, 103, 100, 256, 0), 1);  // the whole level is a window

    UnitTable[1].level = 180;
    EXPECT_EQ(RequestNextStep(1, 103, 100, 64, 0), 0);
    EXPECT_EQ(RequestStoredPath(-1, 103, 100, 64, 0, 1), 0);
    EXPECT_EQ(RequestFollowStep(3000, 103, 100, 64, 0), 0);
}

TEST_F(PathFinderTest, StepsInAPlacedWindowNeedTheUnitInsideItsInterior) {
    UnitRecord& u = PlaceUnit(8, 10, 10);
    u.searchFlag = 7;
    EXPECT_EQ(RequestNextStepInWindow(8, 70, 70, 64, 50, 50, 0), 0);
    EXPECT_EQ(u.moveState, 0);
    EXPECT_EQ(u.searchFlag, 7);
    u.moveState = 1;
    EXPECT_EQ(RequestFollowStepInWindow(8, 70, 70, 64, 10, 50, 0), 0);  // on the border
    EXPECT_EQ(u.moveState, 0);

    u.moveState = 1;
    ASSERT_EQ(RequestNextStepInWindow(8, 70, 70, 64, 9, 9, 0), 1);
    EXPECT_EQ(u.stepX, 11);
    EXPECT_EQ(u.stepY, 11);
    EXPECT_EQ(RequestFollowStepInWindow(8, 11, 10, 64, 9, 9, 0), 2);

    // The window is lowered to W - size - 1 at the far edge.
    u.x = u.y = 200;
    ASSERT_EQ(RequestNextStepInWindow(8, 210, 200, 64, 250, 250, 0), 1);
    EXPECT_EQ(PathFinder->windowLeft, 256 - 64 - 1);
}

TEST_F(PathFinderTest, AUnitOnTheLevelsEdgeStepsOntoTheCellBesideItNeverPastIt) {
    // The search cannot start on the window's border, so it starts beside the unit: the
    // unit steps onto that cell and plans from there next time.
    UnitRecord& u = PlaceUnit(2, 0, 10);
    ASSERT_EQ(RequestStoredPath(2, 5, 10, 64, 0, 1), 1);
    EXPECT_EQ(u.stepX, 1);
    EXPECT_EQ(u.stepY, 10);
    EXPECT_EQ(PathFinder->pathIndex[2], NO_PATH);
    u.x = 1;
    ASSERT_EQ(RequestStoredPath(2, 5, 10, 64, 0, 1), 1);
    EXPECT_EQ(u.stepX, 2);
    EXPECT_EQ(PathFinder->pathIndex[2], 2);

    // A goal beside a unit on the edge is reached, by a mover; a follower stays.
    u.x = 0;
    u.y = 40;
    ASSERT_EQ(RequestNextStep(2, 1, 40, 64, 0), 1);
    EXPECT_EQ(u.stepX, 1);
    EXPECT_EQ(u.stepY, 40);
    EXPECT_EQ(RequestFollowStep(2, 1, 40, 64, 0), 2);
    EXPECT_EQ(u.moveState, 1);
    EXPECT_EQ(RequestFollowPath(2, 1, 40, 64, 0, 1), 0);
    EXPECT_EQ(u.moveState, 0);

    // A follower on the edge next to its target stays, as one further in does.
    u.moveState = 1;
    u.stepX = u.stepY = -1;
    EXPECT_EQ(RequestFollowStep(2, 0, 41, 64, 0), 2);
    EXPECT_EQ(u.stepX, -1);
    EXPECT_EQ(RequestFollowPath(2, 0, 41, 64, 0, 1), 0);
    EXPECT_EQ(u.moveState, 0);
    // Asked for its own cell it stays too, and a unit off the map is not moved onto it.
    u.moveState = 1;
    EXPECT_EQ(RequestNextStep(2, 0, 40, 64, 0), 0);
    EXPECT_EQ(u.stepX, -1);
    u.moveState = 1;
    u.x = 300;
    u.y = 40000;
    EXPECT_EQ(RequestNextStep(2, 10, 10, 64, 0), 0);
    EXPECT_EQ(RequestFollowStep(2, 10, 10, 64, 0), 0);
    EXPECT_EQ(u.stepX, -1);

    // A destination off the map is judged by the cell it is clamped onto: the unit's own
    // (ends the order) or one beside it (a follower stays). {x, y, tx, ty, follow, result}
    const int edge[][6] = {{255, 134, 256, 134, 0, 0},
                           {0, 53, -1, 53, 1, 0},
                           {255, 134, 259, 135, 1, 2},
                           {0, 209, -3, 208, 1, 2}};
    for (const auto& c : edge) {
        PlaceUnit(3, c[0], c[1]).stepX = -1;
        EXPECT_EQ((c[4] ? RequestFollowStep : RequestNextStep)(3, c[2], c[3], 16, 0), c[5]) << c[0];
        EXPECT_EQ(UnitTable[3].stepX, -1) << c[0];
    }

    // The corner's only inner neighbour is diagonal: the corner rule holds in linear mode.
    u.moveState = 1;
    u.x = u.y = 255;
    Tile(254, 255) = WATER;
    EXPECT_EQ(RequestNextStep(2, 250, 250, 64, 0), 0);
    EXPECT_EQ(u.moveState, 0);
    u.moveState = 1;
    ASSERT_EQ(RequestNextStep(2, 250, 250, 64, 1), 1);
    EXPECT_EQ(u.stepX, 254);
    EXPECT_EQ(u.stepY, 254);
}

TEST_F(PathFinderTest, AUnitOnTheEdgeNeverJumpsAMountainOrABlockingUnitBesideIt) {
    UnitRecord& u = PlaceUnit(2, 0, 10);
    Tile(1, 10) = MOUNTAIN;
    u.stepX = u.stepY = -1;
    EXPECT_EQ(RequestNextStep(2, 5, 10, 64, 0), 0);
    EXPECT_EQ(u.moveState, 0);
    EXPECT_EQ(u.stepX, -1);
    u.moveState = 1;
    EXPECT_EQ(RequestStoredPath(2, 5, 10, 64, 0, 1), 0);
    EXPECT_EQ(u.x, 0);

    Tile(1, 10) = PLAIN;
    Block(12, 1, 10);  // beyond the first ten: does not block
    u.moveState = 1;
    EXPECT_EQ(RequestNextStep(2, 5, 10, 64, 0), 1);
    Block(7, 1, 10);
    u.moveState = 1;
    EXPECT_EQ(RequestNextStep(2, 5, 10, 64, 0), 0);
    // A unit stepping onto the cell blocks it too, and a blocking unit on the goal does not.
    PlaceUnit(7, 3, 3).blocking = 1;
    UnitTable[7].stepX = 1;
    UnitTable[7].stepY = 10;
    u.moveState = 1;
    EXPECT_EQ(RequestNextStep(2, 5, 10, 64, 0), 0);
    u.moveState = 1;
    EXPECT_EQ(RequestNextStep(2, 1, 10, 64, 0), 1);
    EXPECT_EQ(u.stepX, 1);
}

// A serpentine of forest corridors between mountain walls, filling the 64-cell window at the
// level's corner: 21 rows of 62 cells joined at alternate ends, about 1340 cells long.
class MazeTest : public PathFinderTest {
  protected:
    void SetUp() override {
        PathFinderTest::SetUp();
        Fill(0, 0, 80, 80, MOUNTAIN);
        for (int i = 0; i <= 20; ++i) {
            int row = 1 + 3 * i;
            Fill(1, row, 62, row, FOREST);
            if (i < 20) Fill(i % 2 == 0 ? 62 : 1, row + 1, i % 2 == 0 ? 62 : 1, row + 2, FOREST);
            // Dead ends one cell deep: reached after the corridor's next cell on the rows
            // walked east, so the last node made is closed while the corridor is still open.
            if (i > 0)
                for (int x = 10; x <= 50; x += 10) Tile(x, row - 1) = FOREST;
        }
    }
};

TEST_F(MazeTest, APathCostingMoreThanTheOldScanStartIsStillFound) {
    for (int q : {0, 1}) {
        BeginSearch(1, 1, 1, 1, 61, 0, 64, q);
        ASSERT_EQ(RunSearch(64 * 64), 1) << "mode " << q;
        EXPECT_GT(PathFinder->nodeCost[PathFinder->currentNode], 131072.0f * 3);
        ReferenceSearch reference;
        reference.Begin(1, false, 0, 0, 1, 1, 1, 61, 0, 64, q);
        EXPECT_EQ(reference.Run(64 * 64), 1);
        EXPECT_EQ(reference.lastNode, PathFinder->lastNode);
    }
    // The scan that starts from 2 * W * W falls back on the last node made, a closed dead
    // end, once every open cost is past it, and stays there.
    ReferenceSearch stalled;
    stalled.scanStartCost = 2.0f * 256 * 256;
    stalled.Begin(1, false, 0, 0, 1, 1, 1, 61, 0, 64, 0);
    EXPECT_EQ(stalled.Run(64 * 64), 0);
}

TEST_F(MazeTest, ALongPathKeepsTheCellsNearestTheStartAndIsWalkedCellByCell) {
    UnitRecord& u = PlaceUnit(9, 1, 1);
    ASSERT_EQ(RequestStoredPath(9, 1, 61, 64, 0, 1), 1);
    EXPECT_EQ(PathFinder->pathLength[9], PATH_ROW);
    EXPECT_EQ(u.stepX, 2);  // the first step of the whole chain
    EXPECT_EQ(u.stepY, 1);
    EXPECT_EQ(PathFinder->resultX, 2);
    // Entry 999 is the first step; entry 0 lies 1000 cells along the corridors.
    EXPECT_EQ(RowX(9, PATH_ROW - 1), 2);
    int far = RowY(9, 0);
    EXPECT_LT(far, 61);
    for (int e = 0; e + 1 < PATH_ROW; ++e)
        ASSERT_TRUE(Adjacent(RowX(9, e), RowY(9, e), RowX(9, e + 1), RowY(9, e + 1))) << e;

    int moves = 0, result = 1;
    while (result == 1 && moves < 2 * PATH_ROW) {
        ASSERT_TRUE(Adjacent(u.x, u.y, u.stepX, u.stepY)) << moves;
        u.x = std::uint16_t(u.stepX);
        u.y = std::uint16_t(u.stepY);
        ++moves;
        result = RequestStoredPath(9, 1, 61, 64, 0, 1);
    }
    EXPECT_EQ(moves, PATH_ROW - 1);
    EXPECT_EQ(u.x, RowX(9, 0));  // on the cut path's end, not on the goal far beyond
    EXPECT_EQ(u.y, far);
    EXPECT_EQ(u.moveState, 0);
}

TEST_F(PathFinderTest, AChainOfMoreThanTenThousandCellsStillStartsNextToTheUnit) {
    // The whole level as the window, a serpentine of 127 road rows: about 32000 cells.
    Fill(0, 0, 255, 255, MOUNTAIN);
    for (int i = 0; i < 127; ++i) {
        int row = 1 + 2 * i;
        Fill(1, row, 254, row, ROAD);
        if (i < 126) Tile(i % 2 == 0 ? 254 : 1, row + 1) = ROAD;
    }
    UnitRecord& u = PlaceUnit(3, 1, 1);
    ASSERT_EQ(RequestNextStep(3, 254, 253, 256, 0), 1);
    EXPECT_EQ(u.stepX, 2);
    EXPECT_EQ(u.stepY, 1);
    EXPECT_EQ(PathFinder->pathLength[3], PATH_ROW);
    EXPECT_EQ(RowX(3, PATH_ROW - 1), 2);
}

TEST_F(PathFinderTest, TheQueueStartsAfreshAfterDrainingAndHoldsAThousandDistinctCosts) {
    BeginSearch(1, 100, 100, 120, 100, 0, 64, 1);
    AddNode(0);
    EXPECT_EQ(QueuePop(), 1);
    EXPECT_EQ(QueuePop(), -1);
    AddNode(2);
    EXPECT_EQ(QueuePop(), 2);

    // 1100 nodes of distinct costs, then one sharing the cost 5: the product and the
    // bucket pools of the reference keep the same nodes in the same order.
    ReferenceSearch reference;
    reference.Begin(1, false, 0, 0, 100, 100, 120, 100, 0, 64, 1);
    BeginSearch(1, 100, 100, 120, 100, 0, 64, 1);
    const int extra = 1101;
    PathFinder->lastNode = extra;
    for (int n = 1; n <= extra; ++n)
        PathFinder->nodeCost[n] = reference.nodeCost[n] = n == extra ? 5.0f : float(n);
    for (int n = 1; n <= extra; ++n) {
        QueueInsert(n);
        reference.QueueInsert(n);
    }
    std::vector<int> popped, expected;
    for (int n; (n = QueuePop()) != -1;) popped.push_back(n);
    for (int n; (n = reference.QueuePop()) != -1;) expected.push_back(n);
    EXPECT_EQ(popped, expected);
    ASSERT_EQ(popped.size(), 1001u);  // nodes 1001..1100 brought new costs: left out
    EXPECT_EQ(popped[4], 5);
    EXPECT_EQ(popped[5], extra);  // the same cost as node 5, queued after it
    EXPECT_EQ(popped.back(), 1000);

    // Queued again, `extra` before 5, they leave in that order even after more insertions
    // of a cheaper node than the window has cells.
    for (int n : {extra, 5}) QueueInsert(n);
    for (int i = 0; i < 70000; ++i) {
        QueueInsert(1);
        QueuePop();
    }
    for (int n : {extra, 5, -1}) EXPECT_EQ(QueuePop(), n);
}

TEST_F(PathFinderTest, TheOpenSetGivesTheLeastKeyWhateverTheCostsAndTheirOrder) {
    // Random costs near and far, some below those already taken, inserted and taken in
    // random turns: each take is the least (cost, node) left, node descending in linear mode.
    const float costs[] = {0.5f,   1.0f,    3.0f,    31.0f,   31.0f, 32.4142f,
                           400.0f, 1023.5f, 1500.0f, 5000.0f, 1e7f,  -2.0f};
    for (int q = 0; q < 2; ++q)
        for (unsigned seed = 1; seed <= 40; ++seed) {
            SeedRandom(seed);
            BeginSearch(1, 100, 100, 120, 100, 0, 64, q);
            std::set<std::pair<float, int>> model;  // (cost, node or -node)
            float base = float(RandomBelow(50));
            for (int n = 1; n < 600; ++n) {
                if (RandomBelow(3) == 0) {
                    int got = QueuePop();
                    int want = model.empty() ? -1 : std::abs(model.begin()->second);
                    ASSERT_EQ(got, want) << "mode " << q << " seed " << seed << " node " << n;
                    if (!model.empty()) {
                        base = model.begin()->first;
                        model.erase(model.begin());
                    }
                }
                float cost = RandomBelow(4) == 0 ? costs[RandomBelow(12)]
                                                 : base + float(RandomBelow(700)) / 7.0f;
                PathFinder->nodeCost[n] = cost;
                PathFinder->lastNode = n;
                QueueInsert(n);
                model.insert({cost, q ? n : -n});
            }
            for (auto it = model.begin(); it != model.end(); ++it)
                ASSERT_EQ(QueuePop(), std::abs(it->second)) << "mode " << q << " seed " << seed;
            EXPECT_EQ(QueuePop(), -1);
        }
}

TEST_F(PathFinderTest, EveryNeighbourOrderVisitsAllEightNeighboursOnce) {
    for (int c = 0; c < 8; ++c) {
        SetNeighbourOrder(c);
        EXPECT_EQ(PathFinder->directionClass, unsigned(c));
        bool seen[3][3] = {};
        for (int j = 0; j < 8; ++j) {
            int dx = PathFinder->stepDX[j], dy = PathFinder->stepDY[j];
            ASSERT_FALSE(seen[dx + 1][dy + 1]) << c << " " << j;
            seen[dx + 1][dy + 1] = true;
            bool diagonal = dx != 0 && dy != 0;
            EXPECT_EQ(diagonal, j % 2 == (c % 2 == 0 ? 1 : 0)) << c << " " << j;
            EXPECT_EQ(PathFinder->stepCost[j], diagonal ? 1.4142f : 1.0f);
        }
    }
    SetNeighbourOrder(5);
    EXPECT_EQ(PathFinder->stepDX[0], 1);
    EXPECT_EQ(PathFinder->stepDY[0], -1);
    EXPECT_EQ(PathFinder->stepDX[7], 1);
    EXPECT_EQ(PathFinder->stepDY[7], 0);
    EXPECT_TRUE(IsEnterable(WATER));
    EXPECT_FALSE(IsEnterable(MOUNTAIN));
    EXPECT_FALSE(IsEnterable(61));
    EXPECT_FALSE(IsEnterable(5));
    EXPECT_TRUE(IsOpenForDiagonal(60));
    EXPECT_FALSE(IsOpenForDiagonal(WATER));
}

}  // namespace
