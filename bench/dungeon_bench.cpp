// Dungeon generation figures: GenerateDungeon over levels 1..178 with the default settings
// (style 38, progress display off) for a few room-attempt counts, with the rooms each level
// got. The target is the whole run in under 2 s at the default attempts.
// Wall and processor time are both given: on a shared machine the processor time is the
// steadier figure.
//   ./build/bench/dungeon_bench [runs [attempts...]]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "quentaro.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int FIRST_LEVEL = 1, LEVELS = 178, CENTRE = 128, SQUARE = 250;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void ClearLevels() {
    std::memset(MapGrid + CellIndex(0, 0, FIRST_LEVEL), 0,
                std::size_t(MAP_WIDTH) * MAP_WIDTH * LEVELS);
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<int> attemptCounts = {100, 300, 1000, 3000, 6000};
    if (argc > 2) attemptCounts.clear();
    for (int i = 2; i < argc; ++i) attemptCounts.push_back(std::atoi(argv[i]));
    CreateGrids();
    CreateDungeonTables();
    std::printf("GenerateDungeon(%d, %d, %d, %d, %d, attempts), style %d, progress display off, "
                "median of %d runs\n",
                CENTRE, CENTRE, FIRST_LEVEL, LEVELS, SQUARE, DungeonStyle, runs);
    for (int attempts : attemptCounts) {
        std::vector<double> times, processor;
        int result = 0;
        for (int run = 0; run < runs; ++run) {
            ClearLevels();
            SeedRandom(unsigned(run + 1));
            Clock::time_point start = Clock::now();
            std::clock_t startCpu = std::clock();
            result = GenerateDungeon(CENTRE, CENTRE, FIRST_LEVEL, LEVELS, SQUARE, attempts);
            processor.push_back(double(std::clock() - startCpu) / CLOCKS_PER_SEC);
            times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        }
        int fewest = 1 << 30, most = 0;
        for (int level = FIRST_LEVEL; level < FIRST_LEVEL + LEVELS; ++level) {
            int rooms = LevelEndRoom[level] - LevelFirstRoom[level];
            fewest = std::min(fewest, rooms);
            most = std::max(most, rooms);
        }
        double t = Median(times), cpu = Median(processor);
        std::printf("attempts %5d: %.3f s wall, %.3f s processor for %d levels (%.2f ms a level), "
                    "result %d, rooms per level %.1f (%d..%d), %d rooms\n",
                    attempts, t, cpu, LEVELS, 1000 * cpu / LEVELS, result,
                    double(RoomCount) / LEVELS, fewest, most, RoomCount);
    }
    ReleaseDungeonTables();
    ReleaseWorldTables();
    return 0;
}
