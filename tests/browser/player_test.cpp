// The player's command line, its window placement and the press that starts it.
#include "shell/menu_fixture.h"
#include "support/picture_files.h"

#include <string>
#include <vector>

namespace {

class Player : public MenuTest {
  protected:
    void SetUp() override {
        MenuTest::SetUp();
        fake.playerWindow = 77;
    }
};

TEST_F(Player, PStartsThePlayerWithTheStarredPathAndTheDoubledSeparator) {
    // The folder form after a move ends with the separator.
    std::snprintf(AppState.browseFolder, FOLDER_CAPACITY, "/videos/");
    SetEntry(4, "my clip.mp4", 1);
    AppState.selectedEntry = 4;
    Press('P');
    ApplyFirstKeys();
    ASSERT_EQ(fake.started.size(), 1u);
    EXPECT_EQ(fake.started[0], std::string(AppState.startFolder) + Separator() + PLAYER_PROGRAM +
                                   "| quorvale /videos/" + Separator() + "my*clip.mp4 0 ");
    EXPECT_EQ(fake.pauses, std::vector<int>{340});
    ASSERT_EQ(fake.moves.size(), 1u);
    EXPECT_EQ(fake.moves[0].window, 77u);
    EXPECT_EQ(platform::CurrentFolder(), AppState.startFolder);
}

TEST_F(Player, APlayerOrFileManagerThatCannotRunIsSaidOnScreen) {
    SetEntry(4, "x.mp4", 1);
    AppState.selectedEntry = 4;
    fake.startsFail = true;
    Press('P');
    ApplyFirstKeys();
    EXPECT_EQ(std::string(CurrentNotice()),
              "no player for x.mp4: " + std::string(AppState.startFolder) + Separator() +
                  PLAYER_PROGRAM + " cannot be started");
    EXPECT_EQ(fake.pauses, std::vector<int>{340});  // the binding keeps its pause

    std::memset(KeyState, 0, sizeof KeyState);
    Press(vk::F7);
    ApplySecondKeys();
    EXPECT_EQ(std::string(CurrentNotice()),
              "no file manager found to open " + std::string(AppState.browseFolder));

    // Started, but ended at once: its own words reach the screen within a pass.
    Notice = NoticeRecord{};
    fake.programFailures.push_back("kelvo: no player for x.mp4: install mpv");
    ReportStartFailures();
    EXPECT_STREQ(CurrentNotice(), "kelvo: no player for x.mp4: install mpv");
}

TEST_F(Player, PPlaysTheLastEntryButNothingOnAFolderOrOutsideTheList) {
    SetEntry(2, "sub", 0);
    AppState.selectedEntry = 2;
    Press('P');
    ApplyFirstKeys();
    AppState.selectedEntry = 3;
    AppState.listViewOn = 0;
    ApplyFirstKeys();
    AppState.listViewOn = 1;
    AppState.selectedEntry = 31;  // past the entry count
    ApplyFirstKeys();
    EXPECT_TRUE(fake.started.empty());
    AppState.selectedEntry = 30;
    ApplyFirstKeys();
    EXPECT_EQ(fake.started.size(), 1u);
}

TEST_F(Player, PlacementFollowsTheOffsetsAndStaysInsideTheWindow) {
    // CENTERCENTER on 960 x 540 at scale 2.
    AppState.viewOffsetX = 320;
    AppState.viewOffsetY = -180;
    PlacePlayerWindow();
    // N with the cursor on the bottom row: y would be 1080, lowered to 480.
    AppState.viewOffsetX = 0;
    AppState.viewOffsetY = -540;
    PlacePlayerWindow();
    // The 1280 mode keeps the player above the screen's bottom edge instead.
    ResizeFrame(1280, 960);
    AppState.pixelScale = 1;
    AppState.viewOffsetY = 0;
    AppState.windowX = 100;
    AppState.windowY = 700;
    PlacePlayerWindow();
    AppState.windowY = 300;
    AppState.viewOffsetY = -100;
    PlacePlayerWindow();
    ASSERT_EQ(fake.moves.size(), 4u);
    const int expected[4][2] = {{640, 360}, {0, 480}, {100, 480}, {100, 400}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(fake.moves[i].x, expected[i][0]) << i;
        EXPECT_EQ(fake.moves[i].y, expected[i][1]) << i;
        EXPECT_EQ(fake.moves[i].width, 600);
        EXPECT_EQ(fake.moves[i].height, 600);
    }

    fake.playerWindow = 0;  // not up yet
    PlacePlayerWindow();
    EXPECT_EQ(fake.moves.size(), 4u);
}

TEST_F(Player, OnlyASecondPressOnTheSelectedFileLabelPlays) {
    AppState.selectedEntry = 6;
    PointAt(60, 300);
    PickBuffer[CursorRow() * 960 + CursorColumn()] = PICK_LIST_BASE + 6;
    PointAt(50, 300);
    PickBuffer[CursorRow() * 960 + CursorColumn()] = PICK_LIST_BASE + 5;
    MouseState.rightPress = 1;
    HandlePlayClick();
    EXPECT_TRUE(fake.started.empty());
    EXPECT_EQ(MouseState.rightPress, 1);

    PointAt(60, 300);
    AppState.listViewOn = 0;
    HandlePlayClick();
    EXPECT_TRUE(fake.started.empty());

    AppState.listViewOn = 1;
    HandlePlayClick();
    EXPECT_EQ(fake.started.size(), 1u);
    EXPECT_EQ(fake.moves.size(), 1u);
    EXPECT_EQ(MouseState.rightPress, 0);
}

}  // namespace
