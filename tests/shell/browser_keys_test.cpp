// The key bindings, paging and resolution switches over the fake platform.
#include "shell/menu_fixture.h"

#include <string>
#include <vector>

#include "support/picture_files.h"

namespace {

using Pauses = std::vector<int>;

class BrowserKeys : public MenuTest {
  protected:
    void TearDown() override {
        ThumbnailLabelText = DrawText;
        CloseGlWindow();
        MenuTest::TearDown();
    }
    static void RunBothGroups() {
        ApplyFirstKeys();
        ApplySecondKeys();
    }
};

TEST_F(BrowserKeys, ShiftCommaAndPeriodFireBothRowsOnTheLiveShiftState) {
    // The plain row and the Shift row in one pass: a step of 25 and two pauses.
    AppState.listTop = 40;
    fake.held[16] = true;
    Press(188);
    ApplySecondKeys();
    EXPECT_EQ(AppState.listTop, 15);
    EXPECT_EQ(fake.pauses, (Pauses{30, 30}));

    AppState.listTop = 10;
    ApplySecondKeys();
    EXPECT_EQ(AppState.listTop, 0);

    std::memset(KeyState, 0, sizeof KeyState);
    Press(190);
    AppState.listTop = 20;  // 30 entries
    ApplySecondKeys();
    EXPECT_EQ(AppState.listTop, 29);

    // An empty folder has no last entry: the list stays at its start.
    SetEntries(0);
    AppState.listTop = 0;
    ApplySecondKeys();
    EXPECT_EQ(AppState.listTop, 0);
}

TEST_F(BrowserKeys, ShiftKeyDownsInKeyStateAloneDoNotMakeAShiftStep) {
    // The capture reports the Shift keys as 160/161 and a held Shift stops repeating:
    // only the live state counts.
    AppState.listTop = 10;
    Press(16);
    Press(160);
    Press(188);
    ApplySecondKeys();
    EXPECT_EQ(AppState.listTop, 9);
    EXPECT_EQ(fake.pauses, (Pauses{30}));
    // Nor does a Shift pressed and let go since it was last asked, as typing elsewhere does.
    fake.pressed[16] = true;
    ApplySecondKeys();
    EXPECT_EQ(AppState.listTop, 8);
}

TEST_F(BrowserKeys, PlainCommaAndPeriodStopAtTheirLimits) {
    Press(188);
    ApplySecondKeys();
    EXPECT_EQ(AppState.listTop, 0);
    std::memset(KeyState, 0, sizeof KeyState);
    Press(190);
    AppState.listTop = 2998;
    ApplySecondKeys();
    ApplySecondKeys();
    EXPECT_EQ(AppState.listTop, 2999);  // beyond the entry count: the plain row allows it
}

TEST_F(BrowserKeys, EachBindingPausesInItsOwnGroup) {
    SetEntry(1, "clip.mp4", 1);
    const struct {
        int key;
        bool first;  // fires in ApplyFirstKeys, else in ApplySecondKeys
        Pauses pauses;
    } rows[] = {
        {221, true, {150}}, {219, true, {150}}, {'P', true, {340}},  {'T', true, {180}},
        {'M', false, {}},   {27, false, {}},    {'R', false, {}},    {'N', false, {}},
        {116, false, {}},   {117, false, {}},   {119, false, {}},    {118, false, {450}},
        {188, false, {30}}, {190, false, {30}}, {'1', false, {}},    {'6', false, {}},
        {'7', false, {}},   {'9', false, {}},   {'0', false, {450}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        SetUp();
        fake.pauses.clear();
        Press(row.key);
        ApplyFirstKeys();
        EXPECT_EQ(fake.pauses, row.first ? row.pauses : Pauses{});
        fake.pauses.clear();
        ApplySecondKeys();
        EXPECT_EQ(fake.pauses, row.first ? Pauses{} : row.pauses);
        CloseGlWindow();
    }
}

TEST_F(BrowserKeys, TwiceTReturnsToTheStartingViewWithPageFirstAtTheOldSelection) {
    AppState.selectedEntry = 7;
    AppState.viewOffsetX = 320;
    AppState.viewOffsetY = -180;
    Press('T');
    ApplyFirstKeys();
    EXPECT_TRUE(InThumbnailView());
    EXPECT_EQ(AppState.pageFirst, 7);
    EXPECT_EQ(AppState.viewOffsetX, 0);
    EXPECT_EQ(AppState.viewOffsetY, 0);
    // The page is drawn on the next pass and selects its first entry.
    AppState.thumbnailRedraw = 0;
    AppState.selectedEntry = AppState.pageFirst;
    ApplyFirstKeys();
    EXPECT_EQ(AppState.listViewOn, 1);
    EXPECT_EQ(AppState.fullViewOn, 0);
    EXPECT_EQ(AppState.thumbnailRedraw, 0);
    EXPECT_EQ(AppState.pageFirst, 7);
    EXPECT_EQ(fake.pauses, (Pauses{180, 180}));

    AppState.listViewOn = 0;
    AppState.fullViewOn = 1;
    ApplyFirstKeys();
    EXPECT_TRUE(InThumbnailView());
}

TEST_F(BrowserKeys, PagesMoveByColumnsTimesRowsWithinTheEntries) {
    // 960 x 540 with 140-pixel cells: 6 columns by 3 rows.
    SetEntries(40);
    AppState.viewOffsetX = 50;
    Press(221);
    ApplyFirstKeys();
    EXPECT_EQ(AppState.pageFirst, 19);
    EXPECT_EQ(AppState.viewOffsetX, 0);
    EXPECT_TRUE(InThumbnailView());
    NextPage();
    EXPECT_EQ(AppState.pageFirst, 37);
    NextPage();
    EXPECT_EQ(AppState.pageFirst, 40);
    PreviousPage();
    PreviousPage();
    EXPECT_EQ(AppState.pageFirst, 4);
    PreviousPage();
    EXPECT_EQ(AppState.pageFirst, 1);
    AppState.pageFirst = 18;  // a page back lands on 0, which numbers no entry
    PreviousPage();
    EXPECT_EQ(AppState.pageFirst, 1);

    // 1280 x 960 with 200-pixel cells: 6 by 4.
    ResizeFrame(1280, 960);
    AppState.cellWidth = AppState.cellHeight = 200;
    NextPage();
    EXPECT_EQ(AppState.pageFirst, 25);

    SetEntries(0);
    NextPage();
    EXPECT_EQ(AppState.pageFirst, 1);
}

int CellsDrawn = 0;
void CountCell(int, int, int, int, int) {
    CellsDrawn += 1;
}

TEST_F(BrowserKeys, APageTurnMovesByTheCellsThePageDraws) {
    // Every cell draws one label; the folder holds more entries than any page here.
    TempFolder folder;
    KeepCurrentFolder keep;
    for (int i = 0; i < 120; ++i) folder.Touch("f" + std::to_string(100 + i) + ".txt");
    std::snprintf(AppState.browseFolder, FOLDER_CAPACITY, "%s", folder.Path().c_str());
    ThumbnailLabelText = CountCell;
    // Columns fit 2 pixels less than the width, rows 62 less than the height: a 1280 x 1024
    // screen at full size holds 6 x 4 cells, not 6 x 5.
    const struct {
        int width, height, cell, cells;
    } sizes[] = {{960, 540, 140, 6 * 3},  {959, 539, 140, 6 * 3},   {640, 480, 140, 4 * 2},
                 {800, 600, 140, 5 * 3},  {1280, 960, 200, 6 * 4},  {1280, 1024, 200, 6 * 4},
                 {1366, 768, 200, 6 * 3}, {1600, 1200, 200, 7 * 5}, {1920, 1080, 200, 9 * 5},
                 {1920, 1200, 200, 9 * 5}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
        ResizeFrame(size.width, size.height);
        AppState.cellWidth = AppState.cellHeight = size.cell;
        for (int first : {1, 7}) {
            AppState.pageFirst = first;
            CellsDrawn = 0;
            DrawThumbnailPage();
            ASSERT_EQ(CellsDrawn, size.cells);
            ASSERT_LT(first + CellsDrawn, EntryTable.count);  // a full page
            Press(221);
            ApplyFirstKeys();
            EXPECT_EQ(AppState.pageFirst, first + CellsDrawn);
            std::memset(KeyState, 0, sizeof KeyState);
            Press(219);
            ApplyFirstKeys();
            EXPECT_EQ(AppState.pageFirst, first);
            std::memset(KeyState, 0, sizeof KeyState);
        }
    }
}

TEST_F(BrowserKeys, ResolutionSwitchesRebuildTheWindowAtTheirSizes) {
    fake.screenWidth = 1024;  // narrower than the 1280 mode
    fake.screenHeight = 768;
    AppState.listViewOn = 0;  // thumbnail view: the page must be drawn again
    AppState.windowX = 40;
    Press(117);
    ApplySecondKeys();
    EXPECT_EQ(AppState.frameWidth, 1280);
    EXPECT_EQ(AppState.frameHeight, 960);
    EXPECT_EQ(AppState.pixelScale, 1);
    EXPECT_EQ(AppState.resolutionMode, RESOLUTION_1280);
    EXPECT_EQ(fake.rect.right - fake.rect.left, 1280);
    EXPECT_EQ(fake.rect.bottom - fake.rect.top, 960);
    EXPECT_EQ(fake.windows, 1);
    EXPECT_EQ(AppState.cellWidth, 200);
    EXPECT_EQ(Loader.zoomStep, 2.0f);
    EXPECT_EQ(AppState.windowX, 0);
    EXPECT_EQ(AppState.screenWidth, 1024);
    EXPECT_EQ(AppState.thumbnailRedraw, 1);

    fake.screenWidth = 1921;
    fake.screenHeight = 1081;
    AppState.listViewOn = 1;
    AppState.thumbnailRedraw = 0;
    ChangeResolution(RESOLUTION_HALF);
    EXPECT_EQ(AppState.frameWidth, 959);
    EXPECT_EQ(AppState.frameHeight, 539);
    EXPECT_EQ(fake.rect.right, 1918);
    EXPECT_EQ(fake.rect.bottom, 1078);
    EXPECT_EQ(AppState.cellHeight, 140);
    EXPECT_EQ(Loader.zoomStep, 3.0f);
    EXPECT_EQ(AppState.thumbnailRedraw, 0);

    ChangeResolution(RESOLUTION_FULL);
    EXPECT_EQ(AppState.frameWidth, 1921);
    EXPECT_EQ(AppState.frameHeight, 1081);
    EXPECT_EQ(AppState.pixelScale, 1);
    EXPECT_EQ(AppState.resolutionMode, RESOLUTION_FULL);
    EXPECT_EQ(fake.windows, 1);
}

TEST_F(BrowserKeys, MMovesTheWindowToTheCursorOnlyInThe1280Mode) {
    OpenMainWindow();
    fake.cursorX = 300;
    fake.cursorY = 200;
    Press('M');
    ApplySecondKeys();
    EXPECT_EQ(fake.rect.left, 0);
    EXPECT_EQ(AppState.windowX, 0);

    ChangeResolution(RESOLUTION_1280);
    fake.cursorShown = true;
    ApplySecondKeys();
    EXPECT_EQ(fake.rect.left, 300);
    EXPECT_EQ(fake.rect.top, 200);
    EXPECT_EQ(fake.rect.right, 1580);
    EXPECT_EQ(fake.rect.bottom, 1160);
    EXPECT_EQ(AppState.windowX, 300);
    EXPECT_EQ(AppState.windowY, 200);
    EXPECT_FALSE(fake.cursorShown);
}

TEST_F(BrowserKeys, OtherSecondGroupRows) {
    PointAt(100, 40);
    Press('N');
    Press('3');
    Press('8');
    Press('0');
    Press(27);
    AppState.rescanRequested = 1;
    ApplySecondKeys();
    EXPECT_EQ(AppState.viewOffsetX, 100);
    EXPECT_EQ(AppState.viewOffsetY, 40 - 540);
    EXPECT_EQ(Loader.zoomStep, 3.0f);
    EXPECT_EQ(Loader.panFactor, 3);
    EXPECT_EQ(Loader.overlayOn, 0);
    EXPECT_EQ(AppState.quitRequested, 1);
    EXPECT_EQ(AppState.rescanRequested, 0);
    ApplySecondKeys();
    EXPECT_EQ(Loader.overlayOn, 1);

    // N works in the list view only; F7 opens the browsed folder.
    std::memset(KeyState, 0, sizeof KeyState);
    AppState.listViewOn = 0;
    AppState.viewOffsetX = 0;
    Press('N');
    Press(118);
    ApplySecondKeys();
    EXPECT_EQ(AppState.viewOffsetX, 0);
    EXPECT_EQ(fake.openedFolders, std::vector<std::string>{AppState.browseFolder});
}

TEST_F(BrowserKeys, FFitsTheFullViewUntilAZoomOrPanKey) {
    FullViewFit = 0;
    Press('F');  // the list view: F means nothing there
    ApplySecondKeys();
    EXPECT_EQ(FullViewFit, 0);
    AppState.listViewOn = 0;
    AppState.fullViewOn = 1;
    ApplySecondKeys();
    EXPECT_EQ(FullViewFit, 1);
    for (int key : {'1', '6', '7', '9'}) {
        FullViewFit = 1;
        std::memset(KeyState, 0, sizeof KeyState);
        Press(key);
        ApplySecondKeys();
        EXPECT_EQ(FullViewFit, 0) << char(key);
    }
    FullViewFit = 0;
}

}  // namespace
