// Room templates and the current room: the shapes the generator picks from, the four
// orientations of the mask, the stamps (also for boxes at and beyond the map's edge) and the
// reset of the room records' templates.
#include <set>
#include <utility>
#include <vector>

#include "dungeon/dungeon_fixture.h"

namespace {

// Mask rows 0 .. RoomHeight-1 as 'd', 'p' and '.', joined by '/'.
std::string MaskRows() {
    std::string rows;
    for (int my = 0; my < RoomHeight; ++my) {
        if (my > 0) rows += '/';
        for (int mx = 0; mx < RoomWidth; ++mx) {
            int v = RoomMaskAt(mx, my);
            rows += v == MASK_FLOOR ? 'd' : v == MASK_FEATURE ? 'p' : '.';
        }
    }
    return rows;
}

int MaskCellsSet() {
    int n = 0;
    for (int i = 0; i < ROOM_TEMPLATE_STRIDE * ROOM_TEMPLATE_STRIDE; ++i) n += RoomMask[i] != 0;
    return n;
}

// The shapes the generator chooses from, as tabulated for the room templates.
const char* const CHOSEN_SHAPES[29] = {
    "ddd/ddd/ddd",
    "ddd",
    "dddd",
    "ddddd",
    ".d./ddd/.d.",
    "..d../.ddd./ddddd/.ddd./..d..",
    "dddd/dddd",
    "ddd/ddd",
    "ddddd/ddddd",
    "ddddd/d.d.d/ddddd",
    "ddddd/ddddd/ddddd",
    "...dd.../.dddddd./.dddddd./dddddddd/.dddddd./.dddddd./...dd...",
    "dddd/dddd/dddd/dddd",
    "ddddd/ddddd/ddddd/ddddd/ddddd",
    "....d..../..ddddd../.ddddddd./.ddddddd./ddddddddd/.ddddddd./.ddddddd./..ddddd../....d....",
    "dddddddd/dddddddd/dd....../dd....../dd....../dd......",
    ".ddd./ddddd/ddddd/.ddd./.ddd.",
    ".dddddd./.dddddd./dddddddd/.dddddd.",
    "..dddd../.dddddd./ddd..ddd/dd....dd/ddd..ddd/.dddddd./..dddd../........",
    "..ddddd../..ddddd../ddddddddd/ddddpdddd/dddpppddd/ddddpdddd/ddddddddd/..ddddd../..ddddd..",
    ".pdddp./pdddddp/dddpddd/ddpppdd/dddpddd/pdddddp/.pdddp.",
    "pdp/ddd/pdp",
    "pddp/dddd/dddd/pddp",
    "pdddp/ddddd/ddddd/ddddd/pdddp",
    "pdddp/ddddd/ddpdd/ddddd/pdddp",
    "..dpd../pdddddp/ddddddd/..ddd../..ddd..",
    "dpd/ddd/pdp/ddd/dpd",
    "pdddddp/ddddddd/ddddddd/ddd..../ddd..../ddd..../pdd....",
    "....ddp/....ddd/....ddd/....ddd/ddddddd/ddddddd/pdddddp",
};

// Whether the set cells of the mask form one 4-connected piece.
bool MaskConnected() {
    std::vector<std::pair<int, int>> stack;
    std::set<std::pair<int, int>> seen;
    for (int my = 0; my < RoomHeight && stack.empty(); ++my)
        for (int mx = 0; mx < RoomWidth && stack.empty(); ++mx)
            if (RoomMaskAt(mx, my)) stack.push_back({mx, my});
    while (!stack.empty()) {
        auto [x, y] = stack.back();
        stack.pop_back();
        if (x < 0 || y < 0 || x >= RoomWidth || y >= RoomHeight || !RoomMaskAt(x, y)) continue;
        if (!seen.insert({x, y}).second) continue;
        stack.insert(stack.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
    return int(seen.size()) == MaskCellsSet();
}

using RoomMaskTest = DungeonTest;

TEST_F(RoomMaskTest, ChosenTemplatesHaveTheirTabulatedShapes) {
    for (int t = 0; t < 29; ++t) {
        BuildRoomMask(t, 0);
        EXPECT_EQ(MaskRows(), CHOSEN_SHAPES[t]) << "template " << t;
    }
}

TEST_F(RoomMaskTest, TemplateStringsAreLaidOutWithTheirHeader) {
    for (int t = 0; t < ROOM_TEMPLATE_COUNT; ++t) {
        const std::string text = RoomTemplate[t];
        ASSERT_EQ(text.size(), 990u) << t;
        EXPECT_EQ(text.substr(0, 2), "jk") << t;
        EXPECT_EQ(text.substr(4, 26), std::string(26, '0')) << t;  // no extra width
        int w = TemplateWidth(t), h = TemplateHeight(t);
        EXPECT_EQ(text[2] - 96, w);
        EXPECT_EQ(text[3] - 96, h);
        // Nothing outside the shape's w x h corner of rows 1..32.
        for (int row = 1; row < 33; ++row)
            for (int col = 0; col < 30; ++col)
                if (row > h || col >= w) {
                    ASSERT_EQ(text[row * 30 + col], '0') << t;
                }
        BuildRoomMask(t, 0);
        EXPECT_TRUE(MaskConnected()) << "template " << t << " falls apart";
        for (int my = 0; my < h; ++my) {  // no shape row or column is wholly empty but row 8 of 18
            bool any = false;
            for (int mx = 0; mx < w; ++mx) any = any || RoomMaskAt(mx, my);
            EXPECT_TRUE(any || (t == 18 && my == 7)) << t << " row " << my;
        }
    }
}

TEST_F(RoomMaskTest, TemplatesNeverChosenRepeatOrHaveTheirSizes) {
    EXPECT_STREQ(RoomTemplate[29], RoomTemplate[28]);
    EXPECT_STREQ(RoomTemplate[32], RoomTemplate[6]);
    BuildRoomMask(30, 0);
    EXPECT_EQ(MaskRows(), "d/d/d/d/d/d");
    BuildRoomMask(31, 0);
    EXPECT_EQ(MaskRows(), "dddddd");
    BuildRoomMask(33, 0);
    EXPECT_EQ(MaskRows(), "dd/dd/dd/dd");
    EXPECT_EQ(TemplateWidth(34), 9);
    EXPECT_EQ(TemplateHeight(34), 8);
    EXPECT_EQ(TemplateWidth(43), 15);
    EXPECT_EQ(TemplateHeight(43), 10);
    for (int t = 34; t < 44; ++t) {
        EXPECT_GE(TemplateWidth(t) * TemplateHeight(t), 9 * 8) << t;
        EXPECT_LE(TemplateWidth(t) * TemplateHeight(t), 15 * 10) << t;
        BuildRoomMask(t, 0);
        EXPECT_LT(MaskCellsSet(), TemplateWidth(t) * TemplateHeight(t)) << t << " is not irregular";
    }
}

TEST_F(RoomMaskTest, FourOrientationsTurnAndMirrorTheTemplate) {
    // Template 15 is an 8 x 6 "L": two full rows on top of a two-column leg.
    BuildRoomMask(15, 0);
    EXPECT_EQ(MaskRows(), "dddddddd/dddddddd/dd....../dd....../dd....../dd......");
    BuildRoomMask(15, 3);  // upside down
    EXPECT_EQ(MaskRows(), "dd....../dd....../dd....../dd....../dddddddd/dddddddd");
    BuildRoomMask(15, 2);  // mask row n holds template column n
    EXPECT_EQ(RoomWidth, 6);
    EXPECT_EQ(RoomHeight, 8);
    EXPECT_EQ(MaskRows(), "dddddd/dddddd/dd..../dd..../dd..../dd..../dd..../dd....");
    BuildRoomMask(15, 1);  // mask row n holds template column 7 - n
    EXPECT_EQ(MaskRows(), "dd..../dd..../dd..../dd..../dd..../dd..../dddddd/dddddd");

    // Features turn with the floor: template 27 turned once is template 28.
    BuildRoomMask(27, 1);
    EXPECT_EQ(MaskRows(), "pdd..../ddd..../ddd..../ddd..../ddddddd/ddddddd/pdddddp");
}

TEST_F(RoomMaskTest, SizesFollowTheOrientation) {
    const int expected[4][2] = {{8, 6}, {6, 8}, {6, 8}, {8, 6}};
    for (int o = 0; o < 4; ++o) {
        SetRoomSize(15, o);
        EXPECT_EQ(RoomWidth, expected[o][0]) << o;
        EXPECT_EQ(RoomHeight, expected[o][1]) << o;
    }
    // An unknown orientation sizes the room but leaves the mask clear; an unknown template
    // gives no room at all.
    BuildRoomMask(13, 0);
    BuildRoomMask(13, 4);
    EXPECT_EQ(MaskCellsSet(), 0);
    EXPECT_EQ(RoomWidth, 5);
    BuildRoomMask(44, 0);
    EXPECT_EQ(MaskCellsSet(), 0);
    EXPECT_EQ(RoomWidth, 0);
    EXPECT_EQ(RoomHeight, 0);
    BuildRoomMask(-1, 0);
    EXPECT_EQ(RoomWidth, 0);
}

TEST_F(RoomMaskTest, StampsWriteFloorAndFeatureCellsOnly) {
    BuildRoomMask(21, 0);  // pdp/ddd/pdp
    RoomOriginX = 10;
    RoomOriginY = 20;
    RoomLevel = 4;
    At(11, 20, 4) = 99;  // under a floor cell
    At(10, 21, 4) = 0;
    At(12, 23, 4) = 77;  // above the box
    StampRoom();
    EXPECT_EQ(At(10, 20, 4), CELL_FEATURE);
    EXPECT_EQ(At(11, 20, 4), CELL_FLOOR);
    EXPECT_EQ(At(10, 21, 4), CELL_FLOOR);
    EXPECT_EQ(At(12, 22, 4), CELL_FEATURE);
    EXPECT_EQ(At(12, 23, 4), 77);
    EXPECT_EQ(Count(4, CELL_FLOOR) + Count(4, CELL_FEATURE), 9);
    EXPECT_EQ(Count(3, CELL_FLOOR) + Count(5, CELL_FLOOR), 0);

    StampRoomAlt();
    EXPECT_EQ(Count(4, CELL_FEATURE), 0);
    EXPECT_EQ(Count(4, CELL_FEATURE_ALT), 4);

    BuildRoomMask(4, 0);  // .d./ddd/.d. leaves the corners as they are
    RoomOriginX = 10;
    RoomOriginY = 20;
    StampRoom();
    EXPECT_EQ(At(10, 20, 4), CELL_FEATURE_ALT);
    EXPECT_EQ(At(11, 20, 4), CELL_FLOOR);
}

TEST_F(RoomMaskTest, StampsSkipCellsOffTheGrid) {
    BuildRoomMask(13, 0);
    RoomLevel = 0;
    RoomOriginX = -2;
    RoomOriginY = -2;
    StampRoom();  // a 3 x 3 corner lands on the map
    EXPECT_EQ(Count(0, CELL_FLOOR), 9);
    RoomOriginX = MAP_WIDTH - 1;
    RoomOriginY = 0;
    StampRoom();  // one column on the map; the rest would wrap into the next rows
    EXPECT_EQ(Count(0, CELL_FLOOR), 9 + 5);
    EXPECT_EQ(At(0, 1, 0), CELL_FLOOR);  // from the first stamp, not the wrap
    EXPECT_EQ(At(3, 1, 0), 0);
    RoomLevel = LEVEL_COUNT;
    RoomOriginX = RoomOriginY = 100;
    StampRoom();
    StampRoomClaimed();
    EXPECT_EQ(ClaimWriteCount, 0);
    RoomLevel = -1;
    StampRoomAlt();
}

TEST_F(RoomMaskTest, ClaimedStampCountsTheBoxAndBorderAndMarksWrittenCells) {
    BuildRoomMask(4, 0);  // .d./ddd/.d.
    RoomOriginX = 50;
    RoomOriginY = 60;
    RoomLevel = 7;
    for (int y = 59; y <= 63; ++y)
        for (int x = 49; x <= 53; ++x) At(x, y, 7) = CELL_WALL;
    At(49, 59, 7) = CELL_FLOOR;  // border corner
    At(51, 61, 7) = CELL_FLOOR;  // box centre, counted before it is written
    At(50, 60, 7) = CELL_FLOOR;  // box corner the mask leaves alone
    At(48, 60, 7) = CELL_FLOOR;  // beyond the border: not counted
    StampRoomClaimed();
    EXPECT_EQ(ClaimFloorCount, 3);
    EXPECT_EQ(ClaimWallCount, 25 - 3);
    EXPECT_EQ(ClaimWriteCount, 5);
    EXPECT_EQ(MarkGrid[CellIndex(51, 61, 7)], CLAIM_MARK);
    EXPECT_EQ(MarkGrid[CellIndex(51, 60, 7)], CLAIM_MARK);
    EXPECT_EQ(MarkGrid[CellIndex(50, 60, 7)], 0);
    EXPECT_EQ(At(50, 60, 7), CELL_FLOOR);
    EXPECT_EQ(At(51, 62, 7), CELL_FLOOR);
    int marks = 0;
    for (long long i = 0; i < CellIndex(0, 0, LEVEL_COUNT); ++i) marks += MarkGrid[i] != 0;
    EXPECT_EQ(marks, 5);

    // A box at the map's corner: its border lies partly off the map and is not counted.
    ClearLevel(7);
    for (int y = 0; y <= 3; ++y)
        for (int x = 0; x <= 3; ++x) At(x, y, 7) = CELL_WALL;
    At(MAP_WIDTH - 1, 0, 7) = CELL_WALL;  // where x = -1 of row 1 would wrap to
    BuildRoomMask(0, 0);
    RoomOriginX = RoomOriginY = 0;
    StampRoomClaimed();
    EXPECT_EQ(ClaimWallCount, 16);
    EXPECT_EQ(ClaimFloorCount, 0);
    EXPECT_EQ(ClaimWriteCount, 9);
}

TEST_F(RoomMaskTest, MaskSmallerThanATemplateIsNeverOverrun) {
    ReleaseDungeonTables();
    ROOM_TEMPLATE_STRIDE = 4;
    CreateDungeonTables();
    BuildRoomMask(13, 0);  // 5 x 5 in a 4 x 4 mask
    EXPECT_EQ(MaskCellsSet(), 16);
    RoomOriginX = RoomOriginY = 10;
    RoomLevel = 1;
    StampRoomClaimed();
    EXPECT_EQ(ClaimWriteCount, 16);
}

TEST_F(RoomMaskTest, ResetMarksTheFirstHundredThousandRecordsOnly) {
    ResetRoomTemplates();
    EXPECT_EQ(RoomTable[0].roomTemplate, NO_ROOM_TEMPLATE);
    EXPECT_EQ(RoomTable[99999].roomTemplate, NO_ROOM_TEMPLATE);
    EXPECT_EQ(RoomTable[100000].roomTemplate, 0);
    EXPECT_EQ(RoomTable[5].width, 0);

    // A table smaller than the reset's reach is reset to its end and no further.
    Recreate(10, 10 * 6000);
    ResetRoomTemplates();
    EXPECT_EQ(RoomTable[59999].roomTemplate, NO_ROOM_TEMPLATE);
    Recreate(10, 0);
    ResetRoomTemplates();
}

}  // namespace
