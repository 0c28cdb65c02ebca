// Walking through the 3D scene without a display: steps along the heading, collision with
// wall cells, the ground check, the grid's edge, and the random test world.
#include <cmath>
#include <limits>

#include "dungeon/dungeon_fixture.h"

namespace {

class SceneWalkTest : public DungeonTest {
  protected:
    UnitRecord* w = nullptr;

    void SetUp() override {
        DungeonTest::SetUp();
        ResetSceneState();
        ConsoleOpen = 0;  // an open console takes Z as a letter
        w = &UnitTable[WALKER];
        w->inUse = 1;
        Put(50, 50, 10);
        ViewX = 50, ViewY = 50, ViewLevel = 10;
        At(50, 50, 11) = CELL_WALL;  // ground under the view
    }
    void TearDown() override {
        ResetSceneState();
        DungeonTest::TearDown();
    }
    void Put(int x, int y, int level) {
        w->x = std::uint16_t(x), w->y = std::uint16_t(y), w->level = std::uint16_t(level);
        w->sceneX = w->sceneY = w->sceneZ = 0.5f;
    }
    // Frames with the left button (and optionally Z) held, each on a stepping pass.
    void Walk(int frames, bool forward = true, bool back = false) {
        fake.held['Z'] = back;
        fake.held[vk::LBUTTON] = forward;
        for (int i = 0; i < frames; ++i) {
            AppState.passCount = 3 * i;
            WalkScene();
        }
        fake.held['Z'] = fake.held[vk::LBUTTON] = false;
    }
    // Heading towards grid x + 1, x - 1, y - 1 or y + 1 at a pitch that steps 0.1 a frame.
    static void FacePlusX() { CameraYaw = 90, CameraPitch = -90; }
    static void FaceMinusX() { CameraYaw = -90, CameraPitch = -90; }
    static void FaceMinusY() { CameraYaw = 0, CameraPitch = -90; }
    static void FacePlusY() { CameraYaw = 180, CameraPitch = -90; }
};

TEST_F(SceneWalkTest, LevelPitchNeverMovesTheWalker) {
    for (float yaw : {0.f, 37.f, -140.f, 400.f}) {
        CameraYaw = yaw, CameraPitch = 0;
        Walk(20, true, false);
        Walk(20, false, true);  // backward alone must not use a stale heading
        Walk(20, true, true);
        EXPECT_EQ(w->x, 50);
        EXPECT_EQ(w->y, 50);
        EXPECT_NEAR(w->sceneX, 0.5f, 1e-6);
        EXPECT_NEAR(w->sceneY, 0.5f, 1e-6);
    }
}

TEST_F(SceneWalkTest, StepsFollowTheHeadingBothWays) {
    FacePlusX();
    Walk(10);
    EXPECT_EQ(w->x, 51);
    EXPECT_EQ(w->y, 50);
    EXPECT_NEAR(w->sceneX, 0.5f, 1e-4);
    EXPECT_EQ(w->walkPhase, 10);
    // Z alone walks back along the same heading, computed on that frame.
    CameraPitch = -90, CameraYaw = 90;
    Walk(20, false, true);
    EXPECT_EQ(w->x, 49);
    FaceMinusY();
    Walk(10);
    EXPECT_EQ(w->y, 49);
    EXPECT_EQ(w->x, 49);
    EXPECT_NEAR(w->sceneZ, std::sin(w->walkPhase * 1.5) * 0.024 + 0.54, 1e-5);
    // A Z typed into the open console is a letter of its line only.
    const float x = w->sceneX, y = w->sceneY;
    const int phase = w->walkPhase;
    ConsoleOpen = 1;
    Walk(5, false, true);
    ConsoleOpen = 0;
    EXPECT_EQ(w->sceneX, x);
    EXPECT_EQ(w->sceneY, y);
    EXPECT_EQ(w->walkPhase, phase);
}

TEST_F(SceneWalkTest, CollisionKeepsTheWalkerOutOfWalls) {
    At(51, 50, 10) = CELL_WALL;
    At(50, 49, 10) = CELL_WALL;
    FacePlusX();
    Walk(40);
    EXPECT_EQ(w->x, 50);
    EXPECT_GE(w->sceneX, 0.25f);
    FaceMinusY();
    Walk(40);
    EXPECT_EQ(w->y, 50);
    EXPECT_GE(w->sceneY, 0.25f);
    EXPECT_NE(CellAtOffset(1 - w->sceneX, w->sceneY, 1 - w->sceneZ), CELL_WALL);
}

TEST_F(SceneWalkTest, CollisionPushesAndReportsDiagonals) {
    // The wall at x + 1 and y + 1 only touches the corner: a diagonal push.
    At(51, 51, 10) = CELL_WALL;
    w->sceneX = 0.1f, w->sceneY = 0.9f;
    EXPECT_EQ(ResolveCollision(1 - w->sceneX, w->sceneY, 0.5f), 1);
    EXPECT_NEAR(w->sceneX, 0.3f, 1e-6);
    EXPECT_NEAR(w->sceneY, 0.7f, 1e-6);
    // Open all around: nothing moves.
    At(51, 51, 10) = CELL_EMPTY;
    EXPECT_EQ(ResolveCollision(0.5f, 0.5f, 0.5f), 0);
    EXPECT_NEAR(w->sceneX, 0.3f, 1e-6);
    // A wall straight ahead along x: back to 0.3 from the border. A walker within 0.2 of it
    // goes 0.2 further, and the diagonal probes see the same wall: a diagonal push on top.
    At(51, 50, 10) = CELL_WALL;
    w->sceneX = 0.25f, w->sceneY = 0.5f;
    EXPECT_EQ(ResolveCollision(1 - w->sceneX, w->sceneY, 0.5f), 0);
    EXPECT_NEAR(w->sceneX, 0.3f, 1e-6);
    w->sceneX = 0.1f;
    EXPECT_EQ(ResolveCollision(1 - w->sceneX, w->sceneY, 0.5f), 1);
    EXPECT_NEAR(w->sceneX, 0.7f, 1e-6);
    EXPECT_NEAR(w->sceneY, 0.3f, 1e-6);
}

TEST_F(SceneWalkTest, CellAtOffsetOutsideTheGridIsEmpty) {
    At(49, 52, 9) = 77;
    EXPECT_EQ(CellAtOffset(-0.5f, 2.0f, -0.01f), 77);
    EXPECT_EQ(CellAtOffset(0.5f, 0.5f, 1.5f), CELL_WALL);
    Put(0, MAP_WIDTH - 1, LEVEL_COUNT - 1);
    At(MAP_WIDTH - 1, MAP_WIDTH - 2, LEVEL_COUNT - 1) = CELL_WALL;  // the row below's last cell
    EXPECT_EQ(CellAtOffset(-0.5f, 0, 0), 0);
    EXPECT_EQ(CellAtOffset(0, 1, 0), 0);
    EXPECT_EQ(CellAtOffset(0, 0, 1), 0);
    EXPECT_EQ(CellAtOffset(0, 0, -1e30f), 0);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(CellAtOffset(nan, 0, 0), 0);
}

TEST_F(SceneWalkTest, ViewWithoutGroundReturnsToTheLastGround) {
    FacePlusX();
    Walk(1);  // stands on ground: remembered
    EXPECT_EQ(LastGroundPosition.x, 50);
    EXPECT_EQ(LastGroundPosition.level, 10);
    ViewX = 70, ViewY = 71, ViewLevel = 12;  // nothing under (70, 71) on level 13
    w->sceneX = 0.8f;
    Walk(1);
    EXPECT_EQ(ViewX, 50);
    EXPECT_EQ(ViewY, 50);
    EXPECT_EQ(ViewLevel, 10);
    // Under the last level there is no ground either, and nothing is read past the grid.
    ViewLevel = LEVEL_COUNT - 1, ViewX = ViewY = MAP_WIDTH - 1;
    Walk(1);
    EXPECT_EQ(ViewLevel, 10);
    ViewX = -4;
    Walk(1);
    EXPECT_EQ(ViewX, 50);
    // A quick pace (under one pass per step) steps on every pass instead of dividing by zero.
    SceneStepRate = 5;
    Walk(3);
    EXPECT_EQ(ViewX, 50);
}

TEST_F(SceneWalkTest, WalkerStopsAtTheGridsEdge) {
    Put(0, 0, 10);
    FaceMinusX();
    Walk(30);
    EXPECT_EQ(w->x, 0);
    EXPECT_LE(w->sceneX, 1.0f);
    FaceMinusY();
    Walk(30);
    EXPECT_EQ(w->y, 0);
    EXPECT_GE(w->sceneY, 0.0f);
    Put(MAP_WIDTH - 1, 5, 10);
    FacePlusX();
    Walk(30);
    EXPECT_EQ(w->x, MAP_WIDTH - 1);
    Put(5, MAP_WIDTH - 1, 10);
    FacePlusY();
    Walk(30);
    EXPECT_EQ(w->y, MAP_WIDTH - 1);
}

TEST_F(SceneWalkTest, CameraFollowsTheCursorOnlyWhileAButtonIsHeld) {
    AppState.frameWidth = 320, AppState.frameHeight = 240;
    fake.rect = {0, 0, 640, 480};
    fake.PointAtFramePixel(100, 30, 320, 240);
    CameraYaw = 5, CameraPitch = 6;
    LookWithMouse();
    EXPECT_EQ(CameraYaw, 5);
    EXPECT_EQ(CameraPitch, 6);
    for (int button : {vk::LBUTTON, vk::MBUTTON, vk::RBUTTON}) {
        CameraYaw = CameraPitch = 0;
        fake.held[button] = true;
        LookWithMouse();
        fake.held[button] = false;
        EXPECT_EQ(CameraYaw, 20 - 2 * 100) << button;
        EXPECT_EQ(CameraPitch, -30) << button;
    }
}

TEST_F(SceneWalkTest, TestWorldKeepsTheBorderAndTheUnitTable) {
    SeedRandom(7);
    ScatterTestWorld(400, 1);
    int blocks = 0;
    for (int l = 0; l < LEVEL_COUNT; ++l) {
        blocks += Count(l, 2);
        for (int i = 0; i < MAP_WIDTH; ++i) {
            ASSERT_EQ(At(i, 0, l), 0);
            ASSERT_EQ(At(0, i, l), 0);
            ASSERT_EQ(At(i, MAP_WIDTH - 1, l), 0);
            ASSERT_EQ(At(MAP_WIDTH - 1, i, l), 0);
        }
    }
    EXPECT_EQ(Count(0, 2) + Count(LEVEL_COUNT - 1, 2), 0);
    EXPECT_GT(blocks, 266 * 4);

    // A grid where every draw meets a block: the table fills up to its end and stops there.
    std::memset(MapGrid, 2, std::size_t(LEVEL_COUNT) * MAP_WIDTH * MAP_WIDTH);
    for (int i = 2; i < UNIT_CAPACITY; ++i) UnitTable[i].inUse = 0;
    ScatterTestWorld(0, 5);
    int live = 0;
    for (int i = 2; i < UNIT_CAPACITY; ++i) live += UnitTable[i].inUse;
    EXPECT_EQ(live, UNIT_CAPACITY - 2);
    EXPECT_EQ(nextUnit, UNIT_CAPACITY);
    EXPECT_EQ(UnitTable[UNIT_CAPACITY - 1].hitPoints, 10.0f);
}

}  // namespace
