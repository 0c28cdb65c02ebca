// The host makes its whole world from one seed: the overworld, then the kingdoms and wells
// placed from the same seed instead of the clock, then the dungeons, whose run reports its
// progress through the generator's idle hook. Also the seed choice.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "korvis/host.h"
#include "support/fake_platform.h"
#include "world/world_fixture.h"

namespace {

class SeededWorld : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        CreateDungeonTables();
    }
    void TearDown() override {
        GenerationIdleWork = nullptr;
        ReleaseDungeonTables();
        WorldTest::TearDown();
    }
    struct World {
        std::vector<std::uint8_t> overworld;
        std::vector<std::pair<int, int>> places;  // capitals and wells
    };
    World Make(unsigned seed) {
        GenerateOverworld(seed);
        SeedRandom(seed);
        PlaceKingdomsAndWells();
        World w;
        w.overworld.assign(MapGrid, MapGrid + MAP_WIDTH * MAP_WIDTH);
        for (int n = 1; n < nextUnit; ++n) w.places.push_back({UnitTable[n].x, UnitTable[n].y});
        return w;
    }
};

std::vector<int> progressLevels;
void RecordProgress(int) {
    progressLevels.push_back(RoomLevel);
}

TEST_F(SeededWorld, OneSeedOneWorldWhateverTheClock) {
    FakePlatform fake;
    World a = Make(7);
    fake.calendarSeconds += 12345;  // the clock plays no part
    World b = Make(7);
    World c = Make(8);
    EXPECT_EQ(a.overworld, b.overworld);
    EXPECT_EQ(a.places, b.places);
    ASSERT_EQ(a.places.size(), 213u);  // three capitals and 210 wells
    EXPECT_NE(a.places, c.places);
    // Seeding by the clock and then placing is still what the strategic set-up does.
    SeedRandom(unsigned(fake.calendarSeconds));
    PlaceKingdomsAndWells();
    const auto placed = std::make_pair(int(UnitTable[50].x), int(UnitTable[50].y));
    SetUpStrategicWorld();
    EXPECT_EQ(std::make_pair(int(UnitTable[50].x), int(UnitTable[50].y)), placed);
}

TEST_F(SeededWorld, DungeonRunReportsEachLevelItGrowsInOrder) {
    progressLevels.clear();
    GenerationIdleWork = RecordProgress;
    SeedRandom(3);
    ASSERT_EQ(GenerateDungeon(128, 128, 1, 6, 250, DUNGEON_ATTEMPTS), 7);
    ASSERT_FALSE(progressLevels.empty());
    EXPECT_EQ(progressLevels.front(), 1);
    EXPECT_EQ(progressLevels.back(), 6);
    for (std::size_t i = 1; i < progressLevels.size(); ++i)
        EXPECT_GE(progressLevels[i], progressLevels[i - 1]);
    // Without the hook set the run is the same: the hook only watches.
    std::vector<std::uint8_t> watched(MapGrid, MapGrid + 7 * MAP_WIDTH * MAP_WIDTH);
    std::memset(MapGrid, 0, 7 * std::size_t(MAP_WIDTH) * MAP_WIDTH);
    GenerationIdleWork = nullptr;
    SeedRandom(3);
    GenerateDungeon(128, 128, 1, 6, 250, DUNGEON_ATTEMPTS);
    EXPECT_TRUE(std::equal(watched.begin(), watched.end(), MapGrid));
}

TEST(KorvisHost, SeedChoice) {
    FakePlatform fake;
    EXPECT_EQ(ChooseSeed(true, 0), 0u);
    EXPECT_EQ(ChooseSeed(true, 4294967295u), 4294967295u);
    const unsigned now = ChooseSeed(false, 5);
    fake.steadyMicroseconds += 1;
    EXPECT_NE(ChooseSeed(false, 5), now);  // runs in the same second differ
}

}  // namespace
