// Rectangle checks and fills over MapGrid: uniformity and claims, the diagonal-gap test and
// the interior fill, at the map's edges and on levels the grid does not have.
#include "dungeon/dungeon_fixture.h"

namespace {

using DungeonArea = DungeonTest;

TEST_F(DungeonArea, MismatchOnOtherCodesAndOffTheMap) {
    EXPECT_EQ(AreaMismatch(0, 0, MAP_WIDTH - 1, MAP_WIDTH - 1, 3, CELL_EMPTY), 0);
    At(40, 41, 3) = CELL_WALL;
    EXPECT_EQ(AreaMismatch(30, 30, 50, 50, 3, CELL_EMPTY), 1);
    EXPECT_EQ(AreaMismatch(40, 41, 40, 41, 3, CELL_WALL), 0);
    EXPECT_EQ(AreaMismatch(41, 41, 50, 50, 3, CELL_EMPTY), 0);
    EXPECT_EQ(AreaMismatch(40, 41, 40, 41, 3, CELL_WALL + 256), 1);  // codes are not wrapped
    EXPECT_EQ(AreaMismatch(-1, 0, 5, 5, 3, CELL_EMPTY), 1);
    EXPECT_EQ(AreaMismatch(250, 0, MAP_WIDTH, 5, 3, CELL_EMPTY), 1);
    EXPECT_EQ(AreaMismatch(0, MAP_WIDTH - 1, 0, MAP_WIDTH, 3, CELL_EMPTY), 1);
    // Empty rectangles match, even off the map.
    EXPECT_EQ(AreaMismatch(5, 5, 4, 9, 3, CELL_WALL), 0);
    EXPECT_EQ(AreaMismatch(-9, 5, -8, 4, 3, CELL_WALL), 0);
}

TEST_F(DungeonArea, LevelsOutsideTheGridMismatchOnEveryCell) {
    for (int level : {-1, LEVEL_COUNT, LEVEL_COUNT + 1, -1000}) {
        EXPECT_EQ(AreaMismatch(10, 10, 12, 12, level, CELL_EMPTY), 1) << level;
        EXPECT_EQ(ClaimArea(10, 10, 12, 12, level, CELL_WALL), 1) << level;
        // An empty rectangle has no cell to mismatch, whatever its level.
        EXPECT_EQ(AreaMismatch(12, 12, 10, 10, level, CELL_EMPTY), 0) << level;
        EXPECT_EQ(ClaimArea(12, 12, 10, 10, level, CELL_WALL), 0) << level;
    }
    EXPECT_EQ(AreaMismatch(10, 10, 12, 12, LEVEL_COUNT - 1, CELL_EMPTY), 0);
    EXPECT_EQ(AreaMismatch(10, 10, 12, 12, 0, CELL_EMPTY), 0);
}

TEST_F(DungeonArea, ClaimWritesAllOrNothing) {
    EXPECT_EQ(ClaimArea(10, 20, 14, 22, 5, CELL_WALL), 0);
    EXPECT_EQ(Count(5, CELL_WALL), 15);
    EXPECT_EQ(At(10, 20, 5), CELL_WALL);
    EXPECT_EQ(At(14, 22, 5), CELL_WALL);
    EXPECT_EQ(At(15, 22, 5), 0);
    // Overlapping a used cell, or reaching off the map: nothing written.
    EXPECT_EQ(ClaimArea(14, 22, 20, 30, 5, 99), 1);
    EXPECT_EQ(Count(5, 99), 0);
    EXPECT_EQ(ClaimArea(MAP_WIDTH - 3, 0, MAP_WIDTH + 2, 3, 5, 99), 1);
    EXPECT_EQ(Count(5, 99), 0);
    EXPECT_EQ(ClaimArea(-2, -2, 3, 3, 6, 99), 1);
    EXPECT_EQ(Count(6, 99), 0);
}

TEST_F(DungeonArea, DiagonalGapIsTwoFloorsMeetingAtACorner) {
    auto block = [](int a, int b, int c, int d) {  // (x,y), (x+1,y), (x,y+1), (x+1,y+1)
        At(20, 30, 2) = std::uint8_t(a);
        At(21, 30, 2) = std::uint8_t(b);
        At(20, 31, 2) = std::uint8_t(c);
        At(21, 31, 2) = std::uint8_t(d);
        return HasDiagonalGap(20, 30, 2);
    };
    const int W = CELL_WALL, F = CELL_FLOOR;
    EXPECT_EQ(block(W, F, F, W), 1);
    EXPECT_EQ(block(F, W, W, F), 1);
    EXPECT_EQ(block(F, F, F, F), 0);
    EXPECT_EQ(block(W, W, W, W), 0);
    EXPECT_EQ(block(F, W, F, W), 0);
    EXPECT_EQ(block(W, CELL_DOOR, F, W), 0);  // a door is not floor
    EXPECT_EQ(block(0, F, F, 0), 0);          // nor is an empty cell wall

    block(W, F, F, W);
    EXPECT_EQ(AreaHasDiagonalGap(0, 0, MAP_WIDTH - 1, MAP_WIDTH - 1, 2), 1);
    EXPECT_EQ(AreaHasDiagonalGap(21, 30, 40, 40, 2), 0);
    EXPECT_EQ(AreaHasDiagonalGap(0, 0, 19, 40, 2), 0);
    EXPECT_EQ(AreaHasDiagonalGap(20, 30, 20, 30, 3), 0);
    EXPECT_EQ(AreaHasDiagonalGap(-50, -50, 400, 400, 2), 1);
}

TEST_F(DungeonArea, DiagonalGapAtTheMapsFarEdgeReadsNothingBeyondIt) {
    // Cells that a block at x = MAP_WIDTH - 1 would read wrap into the next row.
    At(MAP_WIDTH - 1, 10, 2) = CELL_WALL;
    At(0, 11, 2) = CELL_FLOOR;
    At(MAP_WIDTH - 1, 11, 2) = CELL_FLOOR;
    At(0, 12, 2) = CELL_WALL;
    EXPECT_EQ(HasDiagonalGap(MAP_WIDTH - 1, 10, 2), 0);
    EXPECT_EQ(AreaHasDiagonalGap(MAP_WIDTH - 1, 10, MAP_WIDTH + 5, 10, 2), 0);
    EXPECT_EQ(HasDiagonalGap(5, MAP_WIDTH - 1, LEVEL_COUNT - 1), 0);
    EXPECT_EQ(HasDiagonalGap(5, 5, LEVEL_COUNT), 0);
    EXPECT_EQ(HasDiagonalGap(-1, 5, 2), 0);
}

TEST_F(DungeonArea, InteriorFillSkipsTheMapsOuterRing) {
    FillInterior(-5, -5, MAP_WIDTH + 5, MAP_WIDTH + 5, 4, 7);
    EXPECT_EQ(Count(4, 7), (MAP_WIDTH - 2) * (MAP_WIDTH - 2));
    EXPECT_EQ(At(0, 5, 4), 0);
    EXPECT_EQ(At(MAP_WIDTH - 1, 5, 4), 0);
    EXPECT_EQ(At(1, 1, 4), 7);
    EXPECT_EQ(Count(3, 7) + Count(5, 7), 0);
    FillInterior(10, 10, 11, 12, 6, 9);
    EXPECT_EQ(Count(6, 9), 6);
    FillInterior(10, 10, 11, 12, LEVEL_COUNT, 9);
    FillInterior(10, 10, 11, 12, -1, 9);
    EXPECT_EQ(Count(6, 9), 6);
}

}  // namespace
