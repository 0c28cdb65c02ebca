// The golden catalogue: for a few seeds and settings, a summary of every generated level
// (rooms, cell counts by kind, a hash of the whole level) compared with the copy committed
// beside this file. Any change to what the generator produces for a seed shows here. After
// an intended change, scripts/regenerate_dungeon_catalogue.sh rewrites the copy.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "dungeon/dungeon_fixture.h"

namespace {

struct CatalogueRun {
    unsigned seed;
    int style, centreX, centreY, firstLevel, levelCount, squareSize, attempts;
};

const CatalogueRun RUNS[] = {
    {1, 38, 128, 128, 1, 8, 120, 400},  {2, 38, 128, 128, 1, 8, 120, 400},
    {3, 38, 90, 160, 20, 5, 160, 1000}, {4, 6, 150, 100, 100, 4, 100, 300},
    {5, 3, 128, 128, 1, 3, 250, 2000},
};

std::uint64_t LevelHash(int level) {
    std::uint64_t hash = 14695981039346656037ull;  // 64-bit FNV-1a
    const std::uint8_t* cells = MapGrid + CellIndex(0, 0, level);
    for (int i = 0; i < MAP_WIDTH * MAP_WIDTH; ++i) hash = (hash ^ cells[i]) * 1099511628211ull;
    return hash;
}

class DungeonCatalogue : public DungeonTest {
  protected:
    static std::string Summarise() {
        std::ostringstream out;
        out << "# Dungeon generator catalogue: one block per run, one line per level.\n";
        for (const CatalogueRun& run : RUNS) {
            for (int level = run.firstLevel; level < run.firstLevel + run.levelCount; ++level)
                ClearLevel(level);
            DungeonStyle = run.style;
            SeedRandom(run.seed);
            int result = GenerateDungeon(run.centreX, run.centreY, run.firstLevel, run.levelCount,
                                         run.squareSize, run.attempts);
            out << "run seed " << run.seed << " style " << run.style << " centre " << run.centreX
                << "," << run.centreY << " levels " << run.firstLevel << "+" << run.levelCount
                << " square " << run.squareSize << " attempts " << run.attempts << " result "
                << result << " rooms " << RoomCount << "\n";
            for (int level = run.firstLevel; level < run.firstLevel + run.levelCount; ++level) {
                char hash[17];
                std::snprintf(hash, sizeof hash, "%016llx",
                              static_cast<unsigned long long>(LevelHash(level)));
                out << "level " << level << " rooms " << LevelEndRoom[level] - LevelFirstRoom[level]
                    << " floor " << Count(level, CELL_FLOOR) << " wall " << Count(level, CELL_WALL)
                    << " doors " << Count(level, CELL_DOOR) << " up "
                    << Count(level, CELL_STAIRS_UP) << " down " << Count(level, CELL_STAIRS_DOWN)
                    << " chests " << Count(level, CELL_CHEST) << " candelabra "
                    << Count(level, CELL_CANDELABRUM) << " scrolls " << Count(level, CELL_SCROLLS)
                    << " coffins " << Count(level, CELL_COFFIN) << " fountains "
                    << Count(level, CELL_FOUNTAIN) << " features "
                    << Count(level, CELL_FEATURE) + Count(level, CELL_FEATURE_ALT) << " hash "
                    << hash << "\n";
            }
        }
        return out.str();
    }
};

TEST_F(DungeonCatalogue, GeneratedLevelsMatchTheCommittedCatalogue) {
    const std::string path =
        std::string(QUENTARO_SOURCE_DIR) + "/tests/dungeon/dungeon_catalogue.txt";
    std::string now = Summarise();
    if (const char* target = std::getenv("QUENTARO_WRITE_DUNGEON_CATALOGUE")) {
        std::ofstream(target) << now;
        GTEST_SKIP() << "catalogue written to " << target;
    }
    std::ifstream file(path);
    ASSERT_TRUE(file) << path;
    std::stringstream committed;
    committed << file.rdbuf();
    std::istringstream want(committed.str()), got(now);
    std::string wantLine, gotLine;
    for (int line = 1; std::getline(want, wantLine); ++line) {
        ASSERT_TRUE(std::getline(got, gotLine)) << "missing line " << line << ": " << wantLine;
        ASSERT_EQ(gotLine, wantLine) << "line " << line << " of " << path;
    }
    EXPECT_FALSE(std::getline(got, gotLine)) << "extra line: " << gotLine;
}

}  // namespace
