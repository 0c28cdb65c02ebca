// World generation: the height map's addressing, midpoint displacement and its limits, the
// tile classes, the uniform-rectangle check, the scattered units, the strategic world from
// the calendar clock, and the overworld generator from a seed.
#include <cmath>
#include <cstring>
#include <limits>
#include <set>

#include "support/fake_platform.h"
#include "world/world_fixture.h"

namespace {

class WorldGeneration : public WorldTest {
  protected:
    static std::uint8_t& Height(int x, int y) { return HeightMap[x + y * MAP_WIDTH]; }
    // The jitter DisplaceMidpoint draws next, from a copy of the random sequence.
    static float NextJitter(unsigned seed, int skip) {
        SeedRandom(seed);
        for (int i = 0; i < skip; ++i) Random();
        return float(Random() / 32767.0 * 1.0 - 0.5);
    }
};

TEST_F(WorldGeneration, HeightRowsAreMapWidthApartSoTheRightColumnMeetsTheNextRow) {
    Height(256, 0) = 7;
    EXPECT_EQ(HeightAt(0, 1), 7);
    EXPECT_EQ(HeightAt(256, 256), HeightMap[256 + 256 * 256]);
    // Displacing (256, 0) therefore sets (0, 1) as well, and (0, 1) is then taken as set.
    std::memset(HeightMap, 0, 257 * 257);
    Height(256, 1) = 9;
    ASSERT_TRUE(DisplaceMidpoint(256, 1, 256, 0, 256, 1, 0.0f, 30.0f));
    EXPECT_EQ(HeightAt(0, 1), 9);
    EXPECT_FALSE(DisplaceMidpoint(0, 0, 0, 1, 0, 2, 1.0f, 30.0f));
    EXPECT_EQ(HeightAt(-1, 0), 0);
    EXPECT_EQ(HeightAt(0, 257), 0);
}

TEST_F(WorldGeneration, AMidpointIsTheEndsIntegerMeanPlusTheJitterAlongTheEdge) {
    Height(0, 0) = 10;
    Height(4, 0) = 21;
    ASSERT_TRUE(DisplaceMidpoint(0, 0, 2, 0, 4, 0, 0.0f, 30.0f));
    EXPECT_EQ(Height(2, 0), 15);                                    // (10 + 21) / 2 in integers
    EXPECT_FALSE(DisplaceMidpoint(0, 0, 2, 0, 4, 0, 0.0f, 30.0f));  // already set
    EXPECT_EQ(Height(2, 0), 15);

    float jitter = NextJitter(77, 0);
    SeedRandom(77);
    ASSERT_TRUE(DisplaceMidpoint(0, 0, 0, 2, 0, 4, 2.5f, 30.0f));  // (0, 4) is unset: 0
    EXPECT_EQ(Height(0, 2), std::uint8_t(std::max(1.0f, 5 + 4 * jitter * 2.5f)));
}

TEST_F(WorldGeneration, StoredHeightsStayWithinOneAndTheByteAndTheMaximum) {
    Height(0, 0) = Height(8, 0) = 200;
    SeedRandom(3);
    ASSERT_TRUE(DisplaceMidpoint(0, 0, 4, 0, 8, 0, 1000.0f, 900.0f));
    std::uint8_t h = Height(4, 0);
    EXPECT_TRUE(h == 255 || h == 1) << int(h);  // a big jitter either way, never wrapped
    ASSERT_TRUE(DisplaceMidpoint(0, 0, 5, 0, 8, 0, 0.0f, 150.0f));
    EXPECT_EQ(Height(5, 0), 150);
    Height(0, 0) = Height(8, 0) = 0;
    ASSERT_TRUE(DisplaceMidpoint(0, 0, 6, 0, 8, 0, 0.0f, 30.0f));
    EXPECT_EQ(Height(6, 0), 1);  // never 0, which would read as unset
    ASSERT_TRUE(DisplaceMidpoint(0, 0, 7, 0, 8, 0, std::nanf(""), 30.0f));
    EXPECT_EQ(Height(7, 0), 1);
    ASSERT_TRUE(DisplaceMidpoint(0, 0, 3, 0, 8, 0, 0.0f, 0.5f));
    EXPECT_EQ(Height(3, 0), 1);
}

TEST_F(WorldGeneration, CornersOutsideTheHeightMapAreRefusedWithoutAWrite) {
    std::vector<std::uint8_t> before(HeightMap, HeightMap + 257 * 257);
    EXPECT_FALSE(GenerateHeightMap(0, 0, 257, 256, 1.0f, 30.0f));
    EXPECT_FALSE(GenerateHeightMap(-1, 0, 256, 256, 1.0f, 30.0f));
    EXPECT_FALSE(GenerateHeightMap(0, 0, 256, 1 << 30, 1.0f, 30.0f));
    EXPECT_FALSE(DisplaceMidpoint(0, 0, 300, 0, 256, 0, 1.0f, 30.0f));
    EXPECT_FALSE(DisplaceMidpoint(0, -3, 0, 0, 0, 3, 1.0f, 30.0f));
    EXPECT_EQ(std::vector<std::uint8_t>(HeightMap, HeightMap + 257 * 257), before);
}

TEST_F(WorldGeneration, ATinyRectangleSetsItsEdgesAndStops) {
    // A 1 x 1 rectangle: the edge midpoints are its corners, left alone when set.
    Height(10, 10) = 4;
    Height(11, 10) = 8;
    Height(10, 11) = 12;
    Height(11, 11) = 16;
    EXPECT_FALSE(GenerateHeightMap(10, 10, 11, 11, 1.0f, 30.0f));
    EXPECT_EQ(Height(10, 10), 4);
    EXPECT_EQ(Height(11, 11), 16);

    // Corners all unset: every point the displacement sets gets at least 1; the far
    // corner is never a midpoint and stays unset.
    EXPECT_TRUE(GenerateHeightMap(20, 20, 22, 22, 0.0f, 30.0f));
    for (int y = 20; y <= 22; ++y)
        for (int x = 20; x <= 22; ++x)
            EXPECT_EQ(Height(x, y), x == 22 && y == 22 ? 0 : 1) << x << "," << y;
    // With corners 2, 4, 6 and 9 the centre is their mean, 21 / 4 truncated.
    Height(30, 30) = 2;
    Height(32, 30) = 4;
    Height(30, 32) = 6;
    Height(32, 32) = 9;
    GenerateHeightMap(30, 30, 32, 32, 0.0f, 30.0f);
    EXPECT_EQ(Height(31, 30), 3);  // top edge first: (2 + 4) / 2
    EXPECT_EQ(Height(32, 31), 6);  // then the right edge: (4 + 9) / 2
    EXPECT_EQ(Height(31, 31), 5);
}

TEST_F(WorldGeneration, HeightsBecomeTilesAtTheirThresholdsAwayFromTheBorder) {
    const int heights[] = {0, 3, 4, 10, 11, 15, 16, 18, 19, 255};
    const int tiles[] = {10, 10, 11, 11, 18, 18, 19, 19, 20, 20};
    for (int i = 0; i < 10; ++i) {
        Height(5 + i, 5) = std::uint8_t(heights[i]);
        ClassifyOverworldCell(5 + i, 5, 3);
        EXPECT_EQ(Tile(5 + i, 5, 3), tiles[i]) << heights[i];
    }
    Height(0, 5) = Height(255, 5) = Height(5, 255) = 12;
    ClassifyOverworldCell(0, 5, 0);
    ClassifyOverworldCell(255, 5, 0);
    ClassifyOverworldCell(5, 255, 0);
    ClassifyOverworldCell(5, 5, 180);
    ClassifyOverworldCell(5, 5, -1);
    EXPECT_EQ(Tile(0, 5), 0);
    EXPECT_EQ(Tile(255, 5), 0);
    EXPECT_EQ(Tile(5, 255), 0);
}

TEST_F(WorldGeneration, MarksAreClearedOnlyFromAUniformRectangleOnTheLevel) {
    Fill(10, 10, 14, 12, 60, 5);
    for (int y = 9; y <= 13; ++y)
        for (int x = 9; x <= 15; ++x) MarkGrid[CellIndex(x, y, 5)] = 15;
    EXPECT_EQ(ClearMarksIfUniform(10, 10, 15, 12, 5, 60), 1);  // column 15 is not floor
    EXPECT_EQ(MarkGrid[CellIndex(10, 10, 5)], 15);
    EXPECT_EQ(ClearMarksIfUniform(10, 10, 14, 12, 4, 60), 1);
    EXPECT_EQ(ClearMarksIfUniform(10, 10, 14, 12, 5, 60), 0);
    EXPECT_EQ(MarkGrid[CellIndex(10, 10, 5)], 0);
    EXPECT_EQ(MarkGrid[CellIndex(14, 12, 5)], 0);
    EXPECT_EQ(MarkGrid[CellIndex(15, 12, 5)], 15);
    EXPECT_EQ(MarkGrid[CellIndex(10, 13, 5)], 15);

    EXPECT_EQ(ClearMarksIfUniform(254, 0, 256, 0, 0, 0), 1);  // reaches past the level
    EXPECT_EQ(ClearMarksIfUniform(-1, 0, 0, 0, 0, 0), 1);
    EXPECT_EQ(ClearMarksIfUniform(12, 12, 11, 11, 5, 99), 0);  // empty: nothing to differ
    EXPECT_EQ(ClearMarksIfUniform(10, 10, 14, 12, 180, 60), 1);
    EXPECT_EQ(ClearMarksIfUniform(10, 10, 14, 12, -1, 60), 1);
}

TEST_F(WorldGeneration, ScatteredUnitsFillRecordsOneTo255OffTheMountains) {
    Fill(0, 0, 63, 63, 19);
    Fill(20, 20, 40, 40, 10);
    nextUnit = 42;
    SeedRandom(5);
    ScatterUnits();
    EXPECT_EQ(UnitTable[0].inUse, 0);
    EXPECT_EQ(UnitTable[256].inUse, 0);
    EXPECT_EQ(nextUnit, 42);
    std::set<float> hitPoints;
    for (int i = 1; i <= 255; ++i) {
        const UnitRecord& u = UnitTable[i];
        ASSERT_EQ(u.inUse, 1);
        EXPECT_EQ(u.id, i);
        EXPECT_EQ(u.kind, KIND_UNIT);
        EXPECT_EQ(u.sprite, 981);
        EXPECT_EQ(u.owner, 1);
        EXPECT_EQ(u.baseValue, 100.0f);
        EXPECT_EQ(u.hitPoints, u.maxHitPoints);
        hitPoints.insert(u.maxHitPoints);
        EXPECT_TRUE(u.x >= 20 && u.x <= 40 && u.y >= 20 && u.y <= 40) << i;
    }
    EXPECT_EQ(*hitPoints.begin(), 5.0f);
    EXPECT_EQ(*hitPoints.rbegin(), 12.0f);

    // With no way off the mountains the last roll stays, still in 1..63.
    Fill(0, 0, 63, 63, 20);
    ScatterUnits();
    for (int i = 1; i <= 255; ++i) EXPECT_TRUE(UnitTable[i].x >= 1 && UnitTable[i].x <= 63);
}

TEST_F(WorldGeneration, TheStrategicWorldComesFromTheCalendarClock) {
    FakePlatform fake;
    Fill(1, 1, 254, 254, 10);
    Fill(1, 1, 254, 100, 18);  // hills in the north for the wells
    SetUpStrategicWorld();
    EXPECT_EQ(nextUnit, 214);
    const int regions[3][2] = {{145, 43}, {113, 32}, {93, 24}};
    for (int k = 1; k <= 3; ++k) {
        const UnitRecord& c = UnitTable[k];
        EXPECT_EQ(c.kind, KIND_TOWN);
        EXPECT_EQ(c.owner, k);
        EXPECT_EQ(c.treasury, 100);
        EXPECT_EQ(c.sprite, 189);
        EXPECT_EQ(c.strength, c.maxStrength);
        EXPECT_TRUE(c.x >= regions[k - 1][0] && c.x < regions[k - 1][0] + 20) << k;
        EXPECT_TRUE(c.y >= regions[k - 1][1] && c.y < regions[k - 1][1] + 20) << k;
    }
    int onHills = 0;
    for (int n = 4; n < 214; ++n) {
        const UnitRecord& w = UnitTable[n];
        ASSERT_EQ(w.kind, KIND_WELL) << n;
        EXPECT_EQ(w.owner, OWNER_NEUTRAL);
        EXPECT_EQ(w.id, n);
        EXPECT_TRUE(w.maxStrength >= 5 && w.maxStrength <= 12);
        onHills += Tile(w.x, w.y) == 18;
    }
    EXPECT_GT(onHills, 200);  // ten tries nearly always find the northern hills
    EXPECT_EQ(UnitTable[214].inUse, 0);

    // The same second gives the same world, another second another.
    const UnitRecord first = UnitTable[100];
    SetUpStrategicWorld();
    EXPECT_EQ(UnitTable[100].x, first.x);
    EXPECT_EQ(UnitTable[100].y, first.y);
    fake.calendarSeconds += 1;
    SetUpStrategicWorld();
    EXPECT_FALSE(UnitTable[100].x == first.x && UnitTable[100].y == first.y);
}

TEST_F(WorldGeneration, MoreKingdomsKeepTheirSpreadAndSmallTablesAreNotOverrun) {
    FakePlatform fake;
    KINGDOM_COUNT = 5;
    SetUpStrategicWorld();
    EXPECT_EQ(nextUnit, 5 + 211);
    for (int k = 4; k <= 5; ++k) {
        EXPECT_EQ(UnitTable[k].owner, k);
        EXPECT_TRUE(UnitTable[k].x >= 1 && UnitTable[k].x <= 254);
    }
    int d = std::abs(UnitTable[4].x - UnitTable[5].x) + std::abs(UnitTable[4].y - UnitTable[5].y);
    EXPECT_GE(d, 256 / 5);

    // A table of 100 records holds the capitals and as many wells as fit; nothing beyond.
    UNIT_CAPACITY = 100;
    MAP_WIDTH = 64;
    MakeTables();
    Fill(0, 0, 63, 63, 10);
    SetUpStrategicWorld();
    EXPECT_EQ(nextUnit, 100);
    for (int n = 1; n < 100; ++n) {
        EXPECT_TRUE(UnitTable[n].x >= 1 && UnitTable[n].x <= 62) << n;
        EXPECT_TRUE(UnitTable[n].y >= 1 && UnitTable[n].y <= 62) << n;
    }
    ScatterUnits();
    EXPECT_EQ(UnitTable[99].kind, KIND_UNIT);
}

TEST_F(WorldGeneration, AnOverworldFromASeedIsTheSameEveryTimeAndLeavesOtherLevelsAlone) {
    Tile(7, 7, 1) = 61;
    Tile(0, 0) = 99;
    GenerateOverworld(1234);
    std::vector<std::uint8_t> first(MapGrid, MapGrid + 256 * 256);
    int counts[256] = {};
    for (int y = 1; y <= 254; ++y)
        for (int x = 1; x <= 254; ++x) counts[Tile(x, y)]++;
    for (int tile : {10, 11, 18, 19, 20}) EXPECT_GT(counts[tile], 100) << tile;
    EXPECT_EQ(counts[10] + counts[11] + counts[18] + counts[19] + counts[20], 254 * 254);
    EXPECT_EQ(Tile(0, 0), 99);  // the border is not classified
    EXPECT_EQ(Tile(7, 7, 1), 61);
    for (int y = 0; y <= 256; ++y)
        for (int x = 0; x <= 256; ++x) ASSERT_GE(HeightAt(x, y), 1) << x << "," << y;

    GenerateOverworld(99);
    EXPECT_NE(std::vector<std::uint8_t>(MapGrid, MapGrid + 256 * 256), first);
    GenerateOverworld(1234);
    EXPECT_EQ(std::vector<std::uint8_t>(MapGrid, MapGrid + 256 * 256), first);
}

using SettingsDeathTest = WorldTest;

TEST_F(SettingsDeathTest, SettingsThatWouldDivideByZeroAreRefusedAtStartUp) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            MAP_WIDTH = 7;
            InitGameData();
        },
        ::testing::ExitedWithCode(1), "MAP_WIDTH is 7");
    EXPECT_EXIT(
        {
            KINGDOM_COUNT = 0;
            InitGameData();
        },
        ::testing::ExitedWithCode(1), "KINGDOM_COUNT is 0");
    EXPECT_EXIT(
        {
            KINGDOM_COUNT = 3000;
            InitGameData();
        },
        ::testing::ExitedWithCode(1), "KINGDOM_COUNT is 3000");
}

}  // namespace
