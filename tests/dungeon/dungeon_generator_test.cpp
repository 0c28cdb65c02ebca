// The dungeon generator on many seeds: how each new room joins the dungeon, the structure of
// whole runs (records, stairs, objects, what lies outside the start square), the settings and
// flags, the progress display, and the runs it refuses: levels already used or outside the
// grid, a start square too small or off the map, a full room table.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "dungeon/dungeon_fixture.h"

namespace {

constexpr int CX = 128, CY = 128;

struct Step {
    int dx, dy;
};
constexpr Step STEPS[4] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}};

class Generator : public DungeonTest {
  protected:
    static int Run(unsigned seed, int firstLevel, int levelCount, int squareSize, int attempts) {
        SeedRandom(seed);
        return GenerateDungeon(CX, CY, firstLevel, levelCount, squareSize, attempts);
    }
    static int Rooms(int level) { return LevelEndRoom[level] - LevelFirstRoom[level]; }
    static bool Walkable(int code) { return code != CELL_EMPTY && code != CELL_WALL; }

    // Whether every cell that is neither wall nor empty can be reached from every other.
    static bool WalkableCellsConnected(int level) {
        std::vector<char> seen(std::size_t(MAP_WIDTH) * MAP_WIDTH, 0);
        std::vector<int> stack;
        int total = 0;
        for (int i = 0; i < MAP_WIDTH * MAP_WIDTH; ++i)
            if (Walkable(Level(level)[i])) {
                ++total;
                if (stack.empty()) stack.push_back(i);
            }
        int reached = 0;
        while (!stack.empty()) {
            int i = stack.back();
            stack.pop_back();
            if (seen[i] || !Walkable(Level(level)[i])) continue;
            seen[i] = 1;
            ++reached;
            int x = i % MAP_WIDTH, y = i / MAP_WIDTH;
            for (Step s : STEPS) {
                int nx = x + s.dx, ny = y + s.dy;
                if (nx >= 0 && ny >= 0 && nx < MAP_WIDTH && ny < MAP_WIDTH)
                    stack.push_back(ny * MAP_WIDTH + nx);
            }
        }
        return reached == total;
    }
};

// What one more attempt changed, given the level before and after it: the new room is the
// current room's record stamped in some orientation, and one doorway cell D that was wall
// now leads from a floor cell of the old level to the anchor, a floor cell of the new room.
::testing::AssertionResult JoinsThroughOneDoorway(const std::string& before,
                                                  const std::string& after, const RoomRecord& room,
                                                  int level) {
    auto cell = [](const std::string& grid, int x, int y) {
        return std::uint8_t(grid[std::size_t(y) * MAP_WIDTH + x]);
    };
    for (int y = room.y - 1; y <= room.y + room.height; ++y)
        for (int x = room.x - 1; x <= room.x + room.width; ++x)
            if (cell(before, x, y) != CELL_WALL)
                return ::testing::AssertionFailure()
                       << "box and border not all wall at " << x << "," << y;
    std::uint8_t feature = DungeonStyle == 6 ? CELL_FEATURE_ALT : CELL_FEATURE;
    for (int o = 0; o < 4; ++o) {
        SetRoomSize(room.roomTemplate, o);
        if (RoomWidth != room.width || RoomHeight != room.height) continue;
        BuildRoomMask(room.roomTemplate, o);
        std::string expected = before;
        for (int my = 0; my < room.height; ++my)
            for (int mx = 0; mx < room.width; ++mx) {
                int v = RoomMaskAt(mx, my);
                if (v)
                    expected[std::size_t(room.y + my) * MAP_WIDTH + room.x + mx] =
                        char(v == MASK_FLOOR ? CELL_FLOOR : feature);
            }
        // The doorway, in the box or its border: wall before, floor or door after, between an
        // old floor cell and a floor cell of the new room.
        for (int y = room.y - 1; y <= room.y + room.height; ++y)
            for (int x = room.x - 1; x <= room.x + room.width; ++x) {
                if (cell(before, x, y) != CELL_WALL) continue;
                std::uint8_t now = cell(after, x, y);
                if (now != CELL_FLOOR && now != CELL_DOOR) continue;
                for (Step s : STEPS) {
                    if (cell(before, x - s.dx, y - s.dy) != CELL_FLOOR) continue;
                    int ax = x + s.dx, ay = y + s.dy;
                    bool anchorInRoom = ax >= room.x && ay >= room.y && ax < room.x + room.width &&
                                        ay < room.y + room.height;
                    if (!anchorInRoom || RoomMaskAt(ax - room.x, ay - room.y) != MASK_FLOOR)
                        continue;
                    std::string withDoor = expected;
                    withDoor[std::size_t(y) * MAP_WIDTH + x] = char(now);
                    if (withDoor == after) return ::testing::AssertionSuccess();
                }
            }
    }
    return ::testing::AssertionFailure()
           << "room " << room.index << " (template " << int(room.roomTemplate) << ") on level "
           << level << " is not its stamp plus one doorway";
}

TEST_F(Generator, EachNewRoomJoinsAnOldFloorCellThroughOneDoorway) {
    // One attempt more adds at most one room and consumes the same random numbers before it,
    // so runs of 1, 2, 3, ... attempts show the level before and after each room.
    PlacementTryLimit = 0;  // rooms only
    for (int style : {38, 6}) {
        DungeonStyle = style;
        for (unsigned seed = 1; seed <= 4; ++seed) {
            ClearLevel(1);
            ASSERT_EQ(Run(seed, 1, 1, 40, 0), 2);
            std::string before = LevelBytes(1);
            int rooms = 1;
            for (int attempts = 1; attempts <= 30; ++attempts) {
                ClearLevel(1);
                ASSERT_EQ(Run(seed, 1, 1, 40, attempts), 2);
                std::string after = LevelBytes(1);
                ASSERT_LE(RoomCount - rooms, 1);
                if (RoomCount == rooms + 1) {
                    const RoomRecord& room = RoomTable[RoomCount - 1];
                    EXPECT_LE(room.roomTemplate, style == 38 ? 18 : 28);
                    ASSERT_TRUE(JoinsThroughOneDoorway(before, after, room, 1))
                        << "style " << style << " seed " << seed << " attempt " << attempts;
                } else {
                    ASSERT_EQ(after, before);
                }
                rooms = RoomCount;
                before = after;
            }
            EXPECT_GT(rooms, 10) << seed;
        }
    }
}

TEST_F(Generator, WholeRunsKeepTheirStructure) {
    const int first = 1, levels = 6, square = 90, attempts = 150;
    const int pairs = square / 32 + 1;
    for (unsigned seed = 1; seed <= 4; ++seed) {
        for (int level = 0; level <= levels + 1; ++level) ClearLevel(level);
        ASSERT_EQ(Run(seed, first, levels, square, attempts), first + levels);
        EXPECT_EQ(Count(0, CELL_EMPTY), MAP_WIDTH * MAP_WIDTH) << "level above the run";
        EXPECT_EQ(Count(first + levels, CELL_EMPTY), MAP_WIDTH * MAP_WIDTH) << "level below";

        // Records: in order, each level's rooms together, the first room centred.
        EXPECT_EQ(LevelFirstRoom[first], 0);
        EXPECT_EQ(LevelEndRoom[first + levels - 1], RoomCount);
        for (int i = 0; i < RoomCount; ++i) EXPECT_EQ(RoomTable[i].index, i);
        for (int level = first; level < first + levels; ++level) {
            if (level > first) {
                EXPECT_EQ(LevelFirstRoom[level], LevelEndRoom[level - 1]);
            }
            EXPECT_GE(Rooms(level), 1);
            EXPECT_LE(Rooms(level), attempts + 1);
            const RoomRecord& opening = RoomTable[LevelFirstRoom[level]];
            if (level == first) {
                EXPECT_EQ(opening.roomTemplate, 13);
                EXPECT_EQ(opening.x, CX - 2);
                EXPECT_EQ(opening.y, CY - 2);
                EXPECT_EQ(opening.width, 5);
                EXPECT_EQ(opening.height, 5);
            } else {
                EXPECT_LT(opening.roomTemplate, 13);
                EXPECT_EQ(opening.x, CX - opening.width / 2);
            }
            for (int i = LevelFirstRoom[level]; i < LevelEndRoom[level]; ++i) {
                const RoomRecord& room = RoomTable[i];
                EXPECT_EQ(room.level, level);
                EXPECT_LE(room.roomTemplate, 18);
                // Box and border inside the start square.
                EXPECT_GE(room.x - 1, CX - square / 2);
                EXPECT_LE(room.x + room.width, CX + square / 2);
                EXPECT_GE(room.y - 1, CY - square / 2);
                EXPECT_LE(room.y + room.height, CY + square / 2);
            }

            // Cells: nothing outside the square, only known codes inside, no feature cells.
            for (int y = 0; y < MAP_WIDTH; ++y)
                for (int x = 0; x < MAP_WIDTH; ++x) {
                    int code = At(x, y, level);
                    bool inside = std::abs(x - CX) <= square / 2 && std::abs(y - CY) <= square / 2;
                    if (!inside) {
                        ASSERT_EQ(code, CELL_EMPTY) << x << "," << y << " level " << level;
                        continue;
                    }
                    const int known[] = {CELL_WALL,        CELL_FLOOR,       CELL_DOOR,
                                         CELL_STAIRS_UP,   CELL_STAIRS_DOWN, CELL_CHEST,
                                         CELL_CANDELABRUM, CELL_SCROLLS,     CELL_COFFIN,
                                         CELL_FOUNTAIN};
                    ASSERT_NE(std::find(std::begin(known), std::end(known), code), std::end(known))
                        << code;
                }
            EXPECT_TRUE(WalkableCellsConnected(level)) << "level " << level << " seed " << seed;

            // Stairs in pairs, one cell above the other.
            EXPECT_EQ(Count(level, CELL_STAIRS_UP), level > first ? pairs : 0);
            EXPECT_EQ(Count(level, CELL_STAIRS_DOWN), level < first + levels - 1 ? pairs : 0);
            for (int y = 0; y < MAP_WIDTH; ++y)
                for (int x = 0; x < MAP_WIDTH; ++x)
                    if (At(x, y, level) == CELL_STAIRS_UP) {
                        EXPECT_EQ(At(x, y, level - 1), CELL_STAIRS_DOWN) << x << "," << y;
                    }

            // Objects: N + 1 of each kind whose count N = rooms / divisor is not 0.
            int n = Rooms(level);
            auto objects = [](int count) { return count > 0 ? count + 1 : 0; };
            EXPECT_EQ(Count(level, CELL_CHEST), objects(n / 25));
            EXPECT_EQ(Count(level, CELL_CANDELABRUM), objects(n / 5));
            EXPECT_EQ(Count(level, CELL_SCROLLS), objects(n / 40));
            EXPECT_EQ(Count(level, CELL_COFFIN), objects(n / 25));
            EXPECT_EQ(Count(level, CELL_FOUNTAIN), objects(n / 60));
        }
    }
}

TEST_F(Generator, ThirtyRoomsGetTwoChestsSevenCandelabraTwoCoffins) {
    unsigned seed = 1;
    for (; seed < 50; ++seed) {
        ClearLevel(3);
        Run(seed, 3, 1, 120, 29);
        if (Rooms(3) == 30) break;
    }
    ASSERT_EQ(Rooms(3), 30);
    EXPECT_EQ(Count(3, CELL_CHEST), 2);
    EXPECT_EQ(Count(3, CELL_CANDELABRUM), 7);
    EXPECT_EQ(Count(3, CELL_SCROLLS), 0);
    EXPECT_EQ(Count(3, CELL_COFFIN), 2);
    EXPECT_EQ(Count(3, CELL_FOUNTAIN), 0);
    EXPECT_EQ(Count(3, CELL_STAIRS_UP) + Count(3, CELL_STAIRS_DOWN), 0);  // a run of one level
}

TEST_F(Generator, TablesStartZeroed) {
    // A stale level index would send the second phase through another run's records, and a
    // stale height reads as a height already set.
    for (int level = 0; level <= LEVEL_COUNT; ++level) {
        ASSERT_EQ(LevelFirstRoom[level], 0) << level;
        ASSERT_EQ(LevelEndRoom[level], 0) << level;
    }
    for (int i = 0; i < (MAP_WIDTH + 1) * (MAP_WIDTH + 1); ++i) ASSERT_EQ(HeightMap[i], 0) << i;
}

TEST_F(Generator, RefusedRunsReturnOne) {
    // A start square too small for the first room with its border: the square stays.
    EXPECT_EQ(Run(1, 2, 1, 5, 10), 1);
    EXPECT_EQ(Count(2, CELL_WALL), 25);
    EXPECT_EQ(At(CX - 2, CY - 2, 2), CELL_WALL);
    EXPECT_EQ(Count(2, CELL_FLOOR), 0);
    EXPECT_EQ(Run(1, 3, 1, 6, 10), 4);  // 7 x 7 holds 5 x 5 and its border exactly
    EXPECT_EQ(Count(3, CELL_FLOOR) + Count(3, CELL_CANDELABRUM), 25);

    // Levels already generated are refused and left as they are.
    std::string level3 = LevelBytes(3);
    EXPECT_EQ(Run(1, 3, 1, 6, 10), 1);
    EXPECT_EQ(LevelBytes(3), level3);

    // A square reaching off the map: nothing written.
    SeedRandom(1);
    EXPECT_EQ(GenerateDungeon(5, 128, 4, 1, 20, 10), 1);
    EXPECT_EQ(Count(4, CELL_EMPTY), MAP_WIDTH * MAP_WIDTH);

    // No levels: nothing happens; the result is the first level.
    EXPECT_EQ(Run(1, 5, 0, 40, 10), 5);
    EXPECT_EQ(Count(5, CELL_EMPTY), MAP_WIDTH * MAP_WIDTH);
    EXPECT_EQ(RoomCount, 0);

    // Stopped before it starts: nothing written, reported as done.
    StopGeneration = 1;
    EXPECT_EQ(Run(1, 6, 2, 40, 10), 8);
    EXPECT_EQ(Count(6, CELL_EMPTY), MAP_WIDTH * MAP_WIDTH);
}

TEST_F(Generator, RunsReachingPastTheGridStopAtItsEdge) {
    int last = LEVEL_COUNT - 1;
    LevelFirstRoom[LEVEL_COUNT] = LevelEndRoom[LEVEL_COUNT] = -7;
    EXPECT_EQ(Run(1, last - 4, 10, 30, 5), 1);
    for (int level = last - 4; level <= last; ++level) EXPECT_GT(Count(level, CELL_FLOOR), 0);
    EXPECT_EQ(LevelFirstRoom[LEVEL_COUNT], -7);
    EXPECT_EQ(LevelEndRoom[LEVEL_COUNT], -7);
    EXPECT_EQ(RoomCount, LevelEndRoom[last]);

    EXPECT_EQ(Run(1, -1, 3, 30, 5), 1);
    EXPECT_EQ(Count(0, CELL_EMPTY), MAP_WIDTH * MAP_WIDTH);
    EXPECT_EQ(RoomCount, 0);
    EXPECT_EQ(Run(1, LEVEL_COUNT, 1, 30, 5), 1);
    EXPECT_EQ(Run(1, 2147483600, 100, 30, 5), 1);
}

TEST_F(Generator, FullRoomTableStopsPlacing) {
    // 100 records: the first level takes up to 81, the second fills the table, the third
    // cannot start.
    Recreate(8, 100);
    EXPECT_EQ(Run(2, 1, 3, 100, 80), 1);
    EXPECT_EQ(RoomCount, 100);
    EXPECT_EQ(LevelEndRoom[2], 100);
    EXPECT_EQ(Count(3, CELL_EMPTY), MAP_WIDTH * MAP_WIDTH);

    // Filled during the last level: the run completes with the rooms it could record.
    Recreate(8, 50);
    EXPECT_EQ(Run(2, 1, 1, 100, 80), 2);
    EXPECT_EQ(RoomCount, 50);
    EXPECT_EQ(Count(1, CELL_CANDELABRUM), 50 / 5 + 1);

    Recreate(8, 0);
    EXPECT_EQ(Run(2, 1, 1, 100, 80), 1);
    EXPECT_EQ(Count(1, CELL_EMPTY), MAP_WIDTH * MAP_WIDTH);
}

TEST_F(Generator, FewAttemptsAndTheFrameClears) {
    for (int attempts = -1; attempts < 10; ++attempts) {
        ClearLevel(1);
        std::memset(Framebuffer, 0x55, 320 * 240 * 4);
        ASSERT_EQ(Run(7, 1, 1, 60, attempts), 2);
        EXPECT_LE(Rooms(1), std::max(attempts, 0) + 1);
        EXPECT_EQ(Framebuffer[0], 0x55) << "no periodic clear below 10 attempts";
    }
    EXPECT_EQ(Rooms(1), 10);

    // A redraw request clears the frame at the next attempt and is answered.
    ClearLevel(1);
    RedrawRequest = 1;
    Run(7, 1, 1, 60, 5);
    EXPECT_EQ(RedrawRequest, 0);
    EXPECT_EQ(Framebuffer[0], 0);
    EXPECT_EQ(Framebuffer[320 * 240 * 4 - 1], 0);

    // From 20 attempts on, the frame is cleared every tenth of the attempts.
    ClearLevel(1);
    std::memset(Framebuffer, 0x55, 320 * 240 * 4);
    Run(7, 1, 1, 60, 20);
    EXPECT_EQ(Framebuffer[320 * 240 * 4 - 1], 0);
    EXPECT_TRUE(fake.pauses.empty());
}

TEST_F(Generator, StylesChooseTemplatesAndFeatureCodes) {
    DungeonStyle = 6;
    Run(3, 1, 2, 120, 200);
    EXPECT_GT(Count(1, CELL_FEATURE_ALT) + Count(2, CELL_FEATURE_ALT), 0);
    EXPECT_EQ(Count(1, CELL_FEATURE) + Count(2, CELL_FEATURE), 0);
    int highest = 0;
    for (int i = 0; i < RoomCount; ++i) highest = std::max<int>(highest, RoomTable[i].roomTemplate);
    EXPECT_GT(highest, 18);
    EXPECT_LE(highest, 28);

    DungeonStyle = 3;
    Run(3, 3, 1, 120, 200);
    EXPECT_GT(Count(3, CELL_FEATURE), 0);
    EXPECT_EQ(Count(3, CELL_FEATURE_ALT), 0);

    // Any other style keeps the template of the level's first room.
    DungeonStyle = 0;
    Run(3, 4, 2, 120, 50);
    for (int level = 4; level <= 5; ++level)
        for (int i = LevelFirstRoom[level]; i < LevelEndRoom[level]; ++i)
            EXPECT_EQ(RoomTable[i].roomTemplate, RoomTable[LevelFirstRoom[level]].roomTemplate);
    EXPECT_GT(Rooms(4), 1);
}

TEST_F(Generator, ProgressMessagesAreDrawnPresentedAndPaused) {
    ShowGenerationProgress = 1;
    ASSERT_EQ(Run(4, 1, 3, 60, 40), 4);
    // Five object kinds on every level, stairs on the two after the first.
    EXPECT_EQ(fake.pauses, std::vector<int>(3 * 5 + 2, 100));
    EXPECT_EQ(fake.swaps, 3 * 5 + 2);
    char expected[64];
    std::snprintf(expected, sizeof expected, "Fountain Generation = %d", Rooms(3) / 60);
    EXPECT_STREQ(TextBuffer, expected);
    // The last message alone on the frame, in light grey at (100, 100).
    int grey = 0, other = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            const std::uint8_t* p = Framebuffer + 4 * (y * 320 + x);
            if (p[0] == 200 && p[1] == 200 && p[2] == 200) {
                ++grey;
                EXPECT_GE(x, 100);
                EXPECT_GE(y, 95);
                EXPECT_LT(y, 120);
            } else if (p[0] || p[1] || p[2]) {
                ++other;
            }
        }
    EXPECT_GT(grey, 50);
    EXPECT_EQ(other, 0);
}

}  // namespace
