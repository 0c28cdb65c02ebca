// The host's pass over the platform double, one pass at a time and no display: held and
// quickly clicked buttons, the winner's banner, the answers in the notice line, the walk in
// the scene with the view on the walker, and the captions' layout.
#include <cstring>
#include <string>

#include "korvis/host.h"
#include "support/frame_fixture.h"

namespace {

class KorvisPass : public FrameTest {
  protected:
    void SetUp() override {
        UseFrame(KORVIS_FRAME_WIDTH, KORVIS_FRAME_HEIGHT);
        CreateGrids();
        CreateUnitTable();
        PathFinder = CreatePathFinder();
        InitConsoleBuffers();
        ASSERT_EQ(OpenGlWindow("KORVIS", 640, 480, 16, false), 1);
        WindowActive = 1;
        Korvis = KorvisRecord{};
        Korvis.seed = 7;
        ConsoleOpen = LineSubmitted = 0;
        turnCounter = 1;
        ResetSceneState();
        SeedRandom(7);
        PlaceKingdomsAndWells();  // on an empty overworld
        ViewX = UnitTable[1].x - 10;
        ViewY = UnitTable[1].y - 6;
        ViewLevel = 0;
        std::memset(KeyState, 0, sizeof KeyState);
    }
    void TearDown() override {
        CloseGlWindow();
        ReleaseConsoleBuffers();
        ReleasePathFinder(PathFinder);
        PathFinder = nullptr;
        ReleaseWorldTables();
        FrameTest::TearDown();
    }
    // The pointer over map cell (x, y) of the overworld as the view shows it.
    void PointAtCell(int x, int y) {
        fake.PointAtFramePixel((x - ViewX) * 16 + 8, (y - ViewY) * 16 + 8, 320, 240);
    }
    static std::string Said() { return CurrentNotice(); }
    int TurnPauses() const {
        int n = 0;
        for (int p : fake.pauses) n += p == 1480;
        return n;
    }
};

TEST_F(KorvisPass, QuickClicksFoundTownsAndEveryRefusalSaysWhy) {
    const int cx = UnitTable[1].x, cy = UnitTable[1].y;
    PointAtCell(cx + 2, cy);
    fake.pressed[vk::LBUTTON] = true;
    RunKorvisPass();
    EXPECT_EQ(turnCounter, 1);
    EXPECT_NE(Said().find("TOO NEAR YOUR TOWN"), std::string::npos) << Said();
    PointAtCell(cx - 9, cy - 6);
    fake.pressed[vk::LBUTTON] = true;
    RunKorvisPass();
    EXPECT_NE(Said().find("TOO FAR FROM YOUR TOWNS"), std::string::npos) << Said();
    // A click between two passes plays one turn, though the host looked at the button first.
    PointAtCell(cx + 10, cy);
    fake.pressed[vk::LBUTTON] = true;
    RunKorvisPass();
    RunKorvisPass();
    EXPECT_EQ(turnCounter, 2);
    EXPECT_EQ(TurnPauses(), 1);
    EXPECT_NE(Said().find("TOWN FOUNDED AT"), std::string::npos) << Said();
    UnitTable[1].treasury = 0;
    PointAtCell(cx - 8, cy + 3);
    fake.pressed[vk::LBUTTON] = true;
    RunKorvisPass();
    EXPECT_NE(Said().find("NOT ENOUGH GOLD"), std::string::npos) << Said();
    fake.pressed['5'] = true;
    RunKorvisPass();
    EXPECT_EQ(Said(), "NO KINGDOM 5: THERE ARE 3");
    // A command the console does not know, and a teleport kept on the map.
    std::strcpy(CommandLine, "jump");
    LineSubmitted = 1;
    RunKorvisPass();
    EXPECT_EQ(Said(), "NO COMMAND JUMP: H LISTS THEM");
    std::strcpy(CommandLine, "env4teleport 128 1288 5");
    LineSubmitted = 1;
    RunKorvisPass();
    EXPECT_EQ(Said(), "KEPT ON MAP: WALKER AT 128 254 LEVEL 5");
}

TEST_F(KorvisPass, NoTurnIsPlayedUnderTheWinnersBanner) {
    turnCounter = 30;
    UnitTable[3].inUse = 0;
    fake.held[vk::LBUTTON] = true;
    RunKorvisPass();  // capital 2 still stands: a turn of attrition
    EXPECT_EQ(Korvis.winner, 0);
    UnitTable[2].inUse = 0;
    RunKorvisPass();
    ASSERT_EQ(Korvis.winner, 1);
    const std::vector<UnitRecord> after(UnitTable, UnitTable + UNIT_CAPACITY);
    const unsigned dice = RandomState();
    const int pauses = TurnPauses(), turn = turnCounter;
    for (int pass = 0; pass < 5; ++pass) RunKorvisPass();
    EXPECT_EQ(RandomState(), dice);  // no die was rolled for another turn
    EXPECT_EQ(turnCounter, turn);
    EXPECT_EQ(TurnPauses(), pauses);
    EXPECT_EQ(std::memcmp(after.data(), UnitTable, after.size() * sizeof(UnitRecord)), 0);
}

// A corridor of level 5 along +y from (100, 100) with walls under its first four cells: the
// walk keeps the view on the walker, a step over the hole at its end brings the walker back
// onto the last cell with ground, on its own level, and Z walks it back.
TEST_F(KorvisPass, SceneWalkKeepsTheViewOnTheWalkerAndStopsAtAHole) {
    for (int y = 98; y < 110; ++y)
        for (int x = 99; x <= 101; ++x) {
            MapGrid[CellIndex(x, y, 5)] = x == 100 && y >= 100 ? CELL_FLOOR : CELL_WALL;
            MapGrid[CellIndex(x, y, 6)] = y < 104 ? CELL_WALL : CELL_FLOOR;
        }
    UnitTable[WALKER].x = UnitTable[WALKER].y = 100;
    UnitTable[WALKER].level = 5;
    KeyState[vk::F5] = 1;
    RunKorvisPass();
    ASSERT_EQ(Korvis.sceneOn, 1);
    // The pointer was put where the camera looks level along the open way, so a button going
    // down turns nothing.
    EXPECT_EQ(CursorRow(), 90);
    EXPECT_EQ(CursorColumn(), 100);
    const float yaw = CameraYaw, pitch = CameraPitch;
    fake.held[vk::LBUTTON] = true;
    int furthest = 100;
    for (int pass = 0; pass < 400; ++pass) {
        RunKorvisPass();
        furthest = std::max(furthest, int(UnitTable[WALKER].y));
        EXPECT_EQ(ViewLevel, 5);
        EXPECT_EQ(ViewY, UnitTable[WALKER].y);
    }
    EXPECT_EQ(CameraYaw, yaw);
    EXPECT_EQ(CameraPitch, pitch);
    EXPECT_GE(furthest, 103);
    EXPECT_LE(furthest, 104);
    EXPECT_EQ(UnitTable[WALKER].level, 5);
    // And back with Z to the corridor's end.
    fake.held[vk::LBUTTON] = false;
    fake.held['Z'] = true;
    for (int pass = 0; pass < 80; ++pass) RunKorvisPass();
    EXPECT_EQ(UnitTable[WALKER].x, 100);
    EXPECT_EQ(UnitTable[WALKER].y, 100);
    EXPECT_EQ(ViewLevel, 5);
}

TEST_F(KorvisPass, CaptionsNeitherOverlapNorLeaveTheMap) {
    // A crowd of wells round the player's capital, one beside the frame's right edge.
    const int cx = UnitTable[1].x, cy = UnitTable[1].y;
    for (int i = 0; i < 12; ++i) {
        UnitRecord& u = UnitTable[100 + i];
        u.x = std::uint16_t(cx + i % 4);
        u.y = std::uint16_t(cy + i / 4 - 1);
    }
    UnitTable[120].x = std::uint16_t(ViewX + 19);
    UnitTable[120].y = std::uint16_t(ViewY + 11);
    ComposeTileMapFrame();
    const std::vector<CaptionBox>& boxes = PlacedCaptions();
    ASSERT_GE(boxes.size(), 4u);
    for (std::size_t a = 0; a < boxes.size(); ++a) {
        EXPECT_GE(boxes[a].left, 0);
        EXPECT_GE(boxes[a].bottom, 0);
        EXPECT_LT(boxes[a].right, 320);
        EXPECT_LT(boxes[a].top, MAP_ROWS);
        for (std::size_t b = a + 1; b < boxes.size(); ++b)
            EXPECT_TRUE(boxes[a].right < boxes[b].left || boxes[b].right < boxes[a].left ||
                        boxes[a].top < boxes[b].bottom || boxes[b].top < boxes[a].bottom)
                << a << " and " << b;
    }
}

}  // namespace
