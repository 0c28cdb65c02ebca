// Unit orders and the mover on an open plain: what an order becomes on occupied and empty
// cells, arrival, a follower waiting beside its target, the movement period and the limit
// of new orders per pass, and the player's order at the cursor.
#include <cstdlib>

#include "support/fake_platform.h"
#include "world/world_fixture.h"

namespace {

constexpr int PLAIN = 10;

class UnitControl : public WorldTest {
  protected:
    FakePlatform fake;

    void SetUp() override {
        WorldTest::SetUp();
        Fill(0, 0, MAP_WIDTH - 1, MAP_WIDTH - 1, PLAIN);
        AppState = AppStateRecord{};
        ViewX = ViewY = ViewLevel = 0;
    }
    static UnitRecord& Place(int u, int x, int y) {
        UnitRecord& r = UnitTable[u];
        r.inUse = 1;
        r.kind = KIND_UNIT;
        r.id = u;
        r.x = std::uint16_t(x);
        r.y = std::uint16_t(y);
        r.level = 0;
        return r;
    }
    // `count` movement passes (every 30th main-loop pass).
    static void MovementPasses(int count) {
        for (int i = 0; i < count; ++i) {
            AppState.passCount += 30;
            UpdateUnitMoves();
        }
    }
};

TEST_F(UnitControl, AUnitOnTheMapsEdgeWalksOneCellAtATime) {
    Place(2, 0, 10);
    Place(3, 255, 255);
    OrderUnit(2, 5, 10);
    OrderUnit(3, 250, 250);
    for (int pass = 1; pass <= 5; ++pass) {
        MovementPasses(1);
        EXPECT_EQ(UnitTable[2].x, pass) << pass;
        EXPECT_EQ(UnitTable[2].y, 10) << pass;
        EXPECT_EQ(UnitTable[3].x, 255 - pass) << pass;
        EXPECT_EQ(UnitTable[3].y, 255 - pass) << pass;
    }
    EXPECT_EQ(UnitTable[2].moveState, 0);
    EXPECT_EQ(UnitTable[3].moveState, 0);
}

TEST_F(UnitControl, OnAMapNarrowerThanTheSearchWindowUnitsStillWalk) {
    MAP_WIDTH = 48;
    MakeTables();
    Fill(0, 0, 47, 47, PLAIN);
    Place(2, 10, 10);
    OrderUnit(2, 40, 12);
    MovementPasses(30);
    EXPECT_EQ(UnitTable[2].x, 40);
    EXPECT_EQ(UnitTable[2].y, 12);
    EXPECT_EQ(UnitTable[2].moveState, 0);
}

TEST_F(UnitControl, AnyRecordOnTheCellTurnsTheOrderIntoFollowing) {
    Place(5, 20, 20);
    Place(9, 40, 41);
    // Free records all stand at (0, 0): the first of them is followed.
    OrderUnit(5, 0, 0);
    EXPECT_EQ(UnitTable[5].moveState, 2);
    EXPECT_EQ(UnitTable[5].followUnit, 1);
    // The unit's own cell makes it follow itself.
    OrderUnit(5, 20, 20);
    EXPECT_EQ(UnitTable[5].followUnit, 5);
    OrderUnit(5, 40, 41);
    EXPECT_EQ(UnitTable[5].moveState, 2);
    EXPECT_EQ(UnitTable[5].followUnit, 9);
    EXPECT_EQ(UnitTable[5].targetX, 40);
    EXPECT_EQ(UnitTable[5].lastTargetY, 41);
    // An empty cell is a move order that forgets the followed unit.
    UnitTable[5].followTimer = 7;
    OrderUnit(5, 30, 31);
    EXPECT_EQ(UnitTable[5].moveState, 1);
    EXPECT_EQ(UnitTable[5].followUnit, 0);
    EXPECT_EQ(UnitTable[5].followTimer, 0);
    EXPECT_EQ(UnitTable[5].targetX, 30);
    EXPECT_EQ(UnitTable[5].targetY, 31);
    EXPECT_EQ(UnitTable[5].pathPending, 1);
    EXPECT_EQ(PathFinder->pathIndex[5], NO_PATH);
    // Units outside the table are refused without touching memory.
    OrderUnit(-1, 30, 31);
    OrderUnit(UNIT_CAPACITY, 30, 31);
}

TEST_F(UnitControl, MoverEndsOnItsCellAndFollowerWaitsBesideItsTarget) {
    Place(3, 50, 50);
    OrderUnit(3, 75, 58);
    Place(4, 50, 120);
    Place(8, 62, 118);
    OrderUnit(4, 62, 118);
    ASSERT_EQ(UnitTable[4].moveState, 2);

    AppState.passCount = 29;  // not a movement pass
    UpdateUnitMoves();
    EXPECT_EQ(UnitTable[3].x, 50);
    AppState.passCount = 0;
    MovementPasses(1);
    EXPECT_EQ(std::abs(UnitTable[3].x - 50) + std::abs(UnitTable[3].y - 50) > 0, true);
    EXPECT_LE(std::abs(UnitTable[3].x - 50), 1);

    MovementPasses(60);
    EXPECT_EQ(UnitTable[3].x, 75);
    EXPECT_EQ(UnitTable[3].y, 58);
    EXPECT_EQ(UnitTable[3].moveState, 0);
    // The follower stands next to the unit it follows and still holds its order.
    EXPECT_LE(std::abs(UnitTable[4].x - 62), 1);
    EXPECT_LE(std::abs(UnitTable[4].y - 118), 1);
    EXPECT_FALSE(UnitTable[4].x == 62 && UnitTable[4].y == 118);
    EXPECT_EQ(UnitTable[4].moveState, 2);

    // When the followed unit walks off, the follower goes after it.
    UnitTable[8].x = 70;
    MovementPasses(30);
    EXPECT_LE(std::abs(UnitTable[4].x - 70), 1);
    EXPECT_EQ(UnitTable[4].moveState, 2);
}

TEST_F(UnitControl, AFollowerRereadsWhereItsTargetStandsOnItsTwentySixthMove) {
    Place(4, 70, 100);
    Place(8, 100, 100);
    OrderUnit(4, 100, 100);
    UnitTable[8].y = 110;
    MovementPasses(25);
    EXPECT_EQ(UnitTable[4].followTimer, 25);
    EXPECT_EQ(UnitTable[4].targetY, 100);
    MovementPasses(1);
    EXPECT_EQ(UnitTable[4].followTimer, 0);
    EXPECT_EQ(UnitTable[4].targetY, 110);
    EXPECT_EQ(UnitTable[4].lastTargetY, 110);
}

TEST_F(UnitControl, AtMostFifteenNewOrdersArePlannedInOnePass) {
    for (int u = 1; u <= 20; ++u) {
        Place(u, 10 + 5 * u, 30);
        OrderUnit(u, 10 + 5 * u, 60);
    }
    // An idle unit and a free record with an order are passed over without counting.
    Place(21, 200, 200);
    UnitTable[2].inUse = 0;
    MovementPasses(1);
    for (int u = 1; u <= 16; ++u) EXPECT_EQ(UnitTable[u].y, u == 2 ? 30 : 31) << "unit " << u;
    for (int u = 17; u <= 20; ++u) EXPECT_EQ(UnitTable[u].y, 30) << "unit " << u;
    // Next pass the units already under way move without counting against the limit.
    MovementPasses(1);
    EXPECT_EQ(UnitTable[16].y, 32);
    for (int u = 17; u <= 20; ++u) EXPECT_EQ(UnitTable[u].y, 31) << "unit " << u;
    EXPECT_EQ(UnitTable[21].y, 200);
}

TEST_F(UnitControl, PlayerOrderTakesTheCellUnderTheCursorInsideTheMargins) {
    AppState.frameWidth = 320;
    AppState.frameHeight = 240;
    fake.rect = {0, 0, 320, 240};
    ViewX = 10;
    ViewY = 20;
    fake.PointAtFramePixel(100, 50, 320, 240);  // cell 3, 2 of 32 x 24 pixels
    OrderPlayerUnitAtCursor();
    EXPECT_EQ(UnitTable[0].moveState, 0);  // the right button is not held
    fake.held[vk::RBUTTON] = true;
    OrderPlayerUnitAtCursor();
    EXPECT_EQ(UnitTable[0].moveState, 1);
    EXPECT_EQ(UnitTable[0].targetX, 13);
    EXPECT_EQ(UnitTable[0].targetY, 22);

    UnitTable[0].moveState = 0;
    ViewX = MAP_WIDTH - 11 - 3;  // X would be MAP_WIDTH - 11
    OrderPlayerUnitAtCursor();
    EXPECT_EQ(UnitTable[0].moveState, 0);
    ViewX = -3;  // X would be 0
    OrderPlayerUnitAtCursor();
    EXPECT_EQ(UnitTable[0].moveState, 0);
    // The mover never moves record 0.
    ViewX = 10;
    OrderPlayerUnitAtCursor();
    Place(0, 5, 5).moveState = 1;
    MovementPasses(3);
    EXPECT_EQ(UnitTable[0].x, 5);
}

}  // namespace
