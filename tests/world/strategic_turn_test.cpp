// The strategic turn on hand-placed kingdoms: where the player may found a town, what wells
// pay by terrain, the records a town may never be written on, expansion at the map's edge,
// attrition and repair by owner, the view keys, and the end of the game.
#include <algorithm>
#include <vector>

#include "support/fake_platform.h"
#include "world/world_fixture.h"

namespace {

constexpr int PLAIN = 10, FOREST = 11, WATER = 14, HILLS = 18, MOUNTAIN = 19, HIGH_MOUNTAIN = 20,
              ROAD = 22;

class StrategicTurn : public WorldTest {
  protected:
    FakePlatform fake;

    void SetUp() override {
        WorldTest::SetUp();
        MakeWorld();
    }
    // Three kingdoms far apart, with the next record after the capitals free.
    void MakeWorld() {
        std::fill(UnitTable, UnitTable + UNIT_CAPACITY, UnitRecord{});
        Fill(0, 0, MAP_WIDTH - 1, MAP_WIDTH - 1, PLAIN);
        AppState = AppStateRecord{};
        AppState.frameWidth = 320;
        AppState.frameHeight = 240;
        fake.rect = {0, 0, 320, 240};
        ViewX = ViewY = ViewLevel = 0;
        turnCounter = 1;
        SeedRandom(7);
        Capital(1, 100, 100, 100);
        Capital(2, 30, 200, 0);
        Capital(3, 200, 30, 0);
        nextUnit = 4;
    }
    static UnitRecord& Capital(int k, int x, int y, int treasury) {
        UnitRecord& c = Town(k, k, x, y);
        c.treasury = treasury;
        return c;
    }
    static UnitRecord& Town(int record, int owner, int x, int y) {
        UnitRecord& t = UnitTable[record];
        t.inUse = 1;
        t.kind = KIND_TOWN;
        t.id = record;
        t.owner = owner;
        t.x = std::uint16_t(x);
        t.y = std::uint16_t(y);
        t.level = 0;
        t.maxStrength = t.strength = 12;
        return t;
    }
    static UnitRecord& Well(int record, int x, int y) {
        UnitRecord& w = UnitTable[record];
        w.inUse = 1;
        w.kind = KIND_WELL;
        w.owner = OWNER_NEUTRAL;
        w.x = std::uint16_t(x);
        w.y = std::uint16_t(y);
        return w;
    }
    // One call with the left button held and the cursor on map cell (x, y), which the view
    // shows 5 cells in from its corner.
    int ClickTurn(int x, int y) {
        ViewX = x - 5;
        ViewY = y - 5;
        fake.PointAtFramePixel(5 * 16, 5 * 16, 320, 240);
        fake.held[vk::LBUTTON] = true;
        int winner = PlayStrategicTurn();
        fake.held[vk::LBUTTON] = false;
        return winner;
    }
    static int PlayerTownsAt(int x, int y) {
        int n = 0;
        for (int r = 1; r < UNIT_CAPACITY; ++r) {
            const UnitRecord& t = UnitTable[r];
            n += t.inUse == 1 && t.kind == KIND_TOWN && t.owner == 1 && t.x == x && t.y == y;
        }
        return n;
    }
};

TEST_F(StrategicTurn, PlayerSettlesBetweenEightAndThirteenCellsFromHisRecords) {
    struct Case {
        int x, y;
        bool founded;
    } cases[] = {
        {107, 100, false}, {108, 100, true}, {100, 113, true}, {114, 100, false}, {96, 91, true}};
    for (const Case& c : cases) {
        MakeWorld();
        int turn = turnCounter;
        EXPECT_EQ(ClickTurn(c.x, c.y), 0);
        EXPECT_EQ(PlayerTownsAt(c.x, c.y), c.founded ? 1 : 0) << c.x << "," << c.y;
        // A refused site plays no turn and costs no time.
        EXPECT_EQ(turnCounter, c.founded ? turn + 1 : turn) << c.x << "," << c.y;
        EXPECT_EQ(fake.TotalPause(), c.founded ? 1480 : 0) << c.x << "," << c.y;
        fake.pauses.clear();
    }
    // A town of the player's counts as his record: 7 from it is too close, 8 is fine.
    MakeWorld();
    ASSERT_EQ(ClickTurn(110, 100), 0);
    ASSERT_EQ(PlayerTownsAt(110, 100), 1);
    ClickTurn(110, 107);
    EXPECT_EQ(PlayerTownsAt(110, 107), 0);
    ClickTurn(110, 108);
    EXPECT_EQ(PlayerTownsAt(110, 108), 1);
    // An empty treasury founds nothing, but the turn is played.
    UnitTable[1].treasury = 0;
    int turn = turnCounter, next = nextUnit;
    ClickTurn(110, 92);
    EXPECT_EQ(PlayerTownsAt(110, 92), 0);
    EXPECT_EQ(turnCounter, turn + 1);
    EXPECT_EQ(nextUnit, next);
}

TEST_F(StrategicTurn, WellsPayByTheTerrainUnderThem) {
    // The player's treasury is emptied before each turn, so his click never buys a town and
    // what he holds after the turn is the turn's income.
    struct Case {
        int tile, perTurn;
    } fixed[] = {{FOREST, 1}, {HILLS, 1}, {MOUNTAIN, 1}, {HIGH_MOUNTAIN, 1}, {WATER, 0}, {ROAD, 0}};
    Well(40, 100, 90);
    for (const Case& c : fixed) {
        Tile(100, 90) = std::uint8_t(c.tile);
        for (int turn = 0; turn < 5; ++turn) {
            turnCounter = 1;
            UnitTable[1].treasury = 0;
            ClickTurn(100, 112);  // 12 from the capital, 22 from the well
            EXPECT_EQ(UnitTable[1].treasury, c.perTurn) << "tile " << c.tile;
        }
    }
    Tile(100, 90) = PLAIN;
    int paid = 0;
    for (int turn = 0; turn < 400; ++turn) {
        turnCounter = 1;
        UnitTable[1].treasury = 0;
        ClickTurn(100, 112);
        ASSERT_LE(UnitTable[1].treasury, 1);
        paid += UnitTable[1].treasury;
    }
    EXPECT_GT(paid, 150);
    EXPECT_LT(paid, 250);

    // Each town of the kingdom in range collects, a fallen one too; one out of range not.
    Tile(100, 90) = FOREST;
    Town(41, 1, 105, 85).inUse = 0;
    UnitTable[41].destroyed = 1;
    Town(42, 1, 112, 90);  // 12 from the well
    nextUnit = 43;
    turnCounter = 1;
    UnitTable[1].treasury = 0;
    ClickTurn(100, 112);
    EXPECT_EQ(UnitTable[1].treasury, 2);
}

TEST_F(StrategicTurn, TownsAreWrittenOnlyOnFreeRecordsInsideTheTableAndTheMap) {
    const UnitRecord player = UnitTable[0];
    // Before the world is set up nextUnit is 0: neither the player's unit nor a capital
    // becomes a town.
    for (int n : {0, 1, 3}) {
        nextUnit = n;
        turnCounter = 1;
        ClickTurn(110, 100);
        EXPECT_EQ(UnitTable[0].kind, player.kind);
        EXPECT_EQ(UnitTable[1].x, 100);
        EXPECT_EQ(UnitTable[3].owner, 3);
        EXPECT_EQ(nextUnit, n);
    }
    // A click off the map's far edge is no site at all.
    nextUnit = 4;
    turnCounter = 1;
    Capital(1, 250, 100, 100);
    EXPECT_EQ(ClickTurn(258, 100), 0);
    EXPECT_EQ(turnCounter, 1);
    EXPECT_EQ(UnitTable[4].kind, 0);

    // A full table: the sites are judged, nothing is written past its end.
    UNIT_CAPACITY = 64;
    MakeTables();
    MakeWorld();
    nextUnit = UNIT_CAPACITY;
    EXPECT_EQ(ClickTurn(110, 100), 0);
    EXPECT_EQ(turnCounter, 2);
    turnCounter = 14;  // expansion
    ClickTurn(110, 100);
    EXPECT_EQ(nextUnit, UNIT_CAPACITY);
}

TEST_F(StrategicTurn, ExpansionStaysOnTheMap) {
    Capital(2, 1, 1, 100000);
    Capital(3, MAP_WIDTH - 2, MAP_WIDTH - 2, 100000);
    for (int turn = 0; turn < 300; ++turn) {
        turnCounter = 14;
        ClickTurn(0, 0);
    }
    int towns = 0;
    for (int r = 4; r < nextUnit; ++r) {
        const UnitRecord& t = UnitTable[r];
        ASSERT_TRUE(t.owner == 2 || t.owner == 3);
        EXPECT_LT(t.x, MAP_WIDTH);
        EXPECT_LT(t.y, MAP_WIDTH);
        ++towns;
    }
    EXPECT_GT(towns, 100);
}

TEST_F(StrategicTurn, AttritionAndRepairTouchOnlyRecordsOfKingdoms) {
    UnitTable[0].treasury = 50;
    std::vector<int> unowned, owned;
    for (int r = 10; r < 40; ++r) {
        Town(r, 0, 5 + r, 240).strength = 3;  // owner 0 would take record 0 as its capital
        unowned.push_back(r);
    }
    for (int r = 40; r < 70; ++r) {
        Town(r, 2, r, 200).strength = 2;
        owned.push_back(r);
    }
    UnitTable[2].treasury = 1000;
    for (int turn = 0; turn < 20; ++turn) {
        turnCounter = 28;
        ClickTurn(0, 0);
    }
    EXPECT_EQ(UnitTable[0].treasury, 50);
    for (int r : unowned) EXPECT_EQ(UnitTable[r].strength, 3);
    int repaired = 0;
    for (int r : owned) {
        EXPECT_LE(UnitTable[r].strength, UnitTable[r].maxStrength);
        repaired += UnitTable[r].strength > 4;
    }
    EXPECT_GT(repaired, 20);
    EXPECT_LT(UnitTable[2].treasury, 1000);
}

TEST_F(StrategicTurn, NumberKeysShowACapitalWithoutPlaying) {
    fake.held['2'] = true;
    EXPECT_EQ(PlayStrategicTurn(), 0);
    EXPECT_EQ(ViewX, 30);
    EXPECT_EQ(ViewY, 200);
    fake.held['2'] = false;
    fake.held['4'] = true;  // there are three kingdoms
    PlayStrategicTurn();
    EXPECT_EQ(ViewX, 30);
    EXPECT_EQ(turnCounter, 1);
    EXPECT_TRUE(fake.pauses.empty());
}

TEST_F(StrategicTurn, TheLastCapitalStandingWinsAndWithoutOneTheGameGoesOn) {
    UnitTable[1].inUse = UnitTable[2].inUse = UnitTable[3].inUse = 0;
    turnCounter = 28;
    for (int turn = 0; turn < 40; ++turn) EXPECT_EQ(ClickTurn(0, 0), 0);
    EXPECT_EQ(turnCounter, 68);
    EXPECT_EQ(fake.TotalPause(), 40 * 1480);

    UnitTable[3].inUse = 1;
    UnitTable[3].strength = 12;
    fake.pauses.clear();
    EXPECT_EQ(ClickTurn(0, 0), 3);
    EXPECT_EQ(ClickTurn(0, 0), 3);
    EXPECT_EQ(turnCounter, 68);
    EXPECT_TRUE(fake.pauses.empty());

    // With 99 kingdoms the wells' owner is a kingdom too: its capital wins, and its records
    // are neither worn down nor repaired.
    KINGDOM_COUNT = 99;
    UnitTable[3].inUse = 0;
    Capital(99, 150, 150, 10);
    Well(120, 150, 160);
    EXPECT_EQ(ClickTurn(0, 0), 99);
    EXPECT_EQ(UnitTable[99].treasury, 10);
}

}  // namespace
