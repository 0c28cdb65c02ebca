// The overlay's drawing and the right-button rules for presses on it.
#include "shell/menu_fixture.h"

#include <algorithm>
#include <vector>

namespace {

using Pauses = std::vector<int>;

class Overlay : public MenuTest {
  protected:
    // A right press with the cursor on frame pixel (column, row) carrying `id`.
    void RightPressOn(int column, int row, int id) {
        PointAt(column, row);
        ASSERT_EQ(CursorRow(), row);
        PickBuffer[row * AppState.frameWidth + CursorColumn()] = id;
        MouseState.rightPress = 1;
    }

    static int PickIdsInRow(int row, int x0, int x1, int id) {
        int count = 0;
        for (int x = x0; x < x1; ++x) count += PickBuffer[row * AppState.frameWidth + x] == id;
        return count;
    }

    static bool AnyLitInRows(int y0, int y1, int x0, int x1) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (Lit(x, y)) return true;
        return false;
    }
};

TEST_F(Overlay, CursorCrossReachesFivePixelsEachWay) {
    PointAt(100, 50);
    DrawCursorCross();
    for (int d = 0; d <= 5; ++d) {
        EXPECT_EQ(Rgb(100 + d, 50), (std::array<int, 3>{255, 255, 255}));
        EXPECT_TRUE(Lit(100 - d, 50));
        EXPECT_TRUE(Lit(100, 50 + d));
        EXPECT_TRUE(Lit(100, 50 - d));
    }
    EXPECT_EQ(LitCount(), 21);
}

TEST_F(Overlay, PressesOnEmptySpaceBelowTheTopStripShowTheList) {
    AppState.listViewOn = 0;  // thumbnail view
    // Rows count from the bottom: the 30 rows under the top edge hold the buttons.
    RightPressOn(500, 540 - 30, 0);
    HandleOverlayClick();
    EXPECT_EQ(AppState.listViewOn, 0);
    EXPECT_TRUE(fake.pauses.empty());

    RightPressOn(500, 540 - 31, 0);
    HandleOverlayClick();
    EXPECT_EQ(AppState.listViewOn, 1);
    EXPECT_EQ(AppState.thumbnailRedraw, 0);
    EXPECT_EQ(fake.pauses, (Pauses{480}));

    // A thumbnail or a list label is not empty space.
    AppState.listViewOn = 0;
    RightPressOn(500, 100, PICK_THUMBNAIL_BASE + 3);
    HandleOverlayClick();
    EXPECT_EQ(AppState.listViewOn, 0);
}

TEST_F(Overlay, ButtonsSwitchViewsPageAndCentre) {
    SetEntries(40);
    AppState.selectedEntry = 5;
    AppState.viewOffsetX = 30;
    RightPressOn(280, 530, BUTTON_THUMBNAILS);
    HandleOverlayClick();
    EXPECT_TRUE(InThumbnailView());
    EXPECT_EQ(AppState.pageFirst, 5);
    EXPECT_EQ(AppState.viewOffsetX, 0);
    EXPECT_EQ(MouseState.rightPress, 0);

    AppState.thumbnailRedraw = 0;
    RightPressOn(280, 530, BUTTON_THUMBNAILS);
    HandleOverlayClick();
    EXPECT_EQ(AppState.listViewOn, 1);

    SetEntries(40);  // the switch rescanned the folder
    AppState.pageFirst = 1;
    RightPressOn(370, 530, BUTTON_BRACKET_RIGHT);
    HandleOverlayClick();
    EXPECT_TRUE(InThumbnailView());
    EXPECT_EQ(AppState.pageFirst, 19);
    RightPressOn(330, 530, BUTTON_BRACKET_LEFT);
    HandleOverlayClick();
    EXPECT_EQ(AppState.pageFirst, 1);

    AppState.listViewOn = 1;
    RightPressOn(410, 530, BUTTON_CENTER);
    HandleOverlayClick();
    EXPECT_EQ(AppState.viewOffsetX, 320);
    EXPECT_EQ(AppState.viewOffsetY, -180);
    EXPECT_EQ(MouseState.rightPress, 0);
    EXPECT_EQ(fake.pauses, (Pauses{480, 480, 150, 480, 150, 480, 480}));
}

TEST_F(Overlay, AnyPressInTheFullViewReturnsToTheThumbnails) {
    AppState.listViewOn = 0;
    AppState.fullViewOn = 1;
    RightPressOn(280, 530, BUTTON_CENTER);  // a stale id from an earlier view
    HandleOverlayClick();
    EXPECT_TRUE(InThumbnailView());
    EXPECT_EQ(AppState.viewOffsetX, 0);
    EXPECT_EQ(MouseState.rightPress, 0);
    EXPECT_EQ(fake.pauses, (Pauses{480}));
}

TEST_F(Overlay, ButtonsCarryTheirPickIdsExceptInTheFullView) {
    DrawOverlay();
    const int row = 540 - 11 + 4;  // inside the glyphs of the button line
    int anyRow = 0;
    for (int y = 540 - 20; y < 540; ++y)
        anyRow += PickIdsInRow(y, 268, 320, BUTTON_THUMBNAILS) > 0 &&
                  PickIdsInRow(y, 320, 360, BUTTON_BRACKET_LEFT) > 0 &&
                  PickIdsInRow(y, 360, 402, BUTTON_BRACKET_RIGHT) > 0 &&
                  PickIdsInRow(y, 402, 480, BUTTON_CENTER) > 0;
    EXPECT_GT(anyRow, 0);
    EXPECT_EQ(PickIdsInRow(row, 0, 268, BUTTON_THUMBNAILS), 0);
    // Title and folder line are drawn in yellow near the top left.
    EXPECT_TRUE(AnyLitInRows(540 - 22, 540, 12, 60));
    EXPECT_EQ(Rgb(12, 540 - 11)[2], 0);

    // Thumbnail view: no centre button.
    UseFrame(960, 540);
    AppState.listViewOn = 0;
    DrawOverlay();
    for (int y = 540 - 20; y < 540; ++y) EXPECT_EQ(PickIdsInRow(y, 0, 960, BUTTON_CENTER), 0);

    UseFrame(960, 540);
    AppState.fullViewOn = 1;
    DrawOverlay();
    for (int y = 0; y < 540; ++y) EXPECT_EQ(PickIdsInRow(y, 0, 960, BUTTON_THUMBNAILS), 0);
}

TEST_F(Overlay, TheFullViewNamesThePictureItOpenedAndASizeOnlyWhenItDecoded) {
    auto captionRows = [this](const char* name, int blank) {
        UseFrame(960, 540);
        AppState.listViewOn = 0;
        AppState.fullViewOn = 1;
        FullViewName = name;
        FullViewBlank = blank;
        LoaderInfo.width = 30;
        LoaderInfo.height = 20;
        DrawOverlay();
        // A line of text at row y lights rows y - 6 to y - 1.
        std::vector<int> caption, size;
        for (int x = 0; x < 200; ++x) {
            for (int y = 540 - 28; y < 540 - 22; ++y) caption.push_back(Lit(x, y));
            for (int y = 540 - 36; y < 540 - 30; ++y) size.push_back(Lit(x, y));
        }
        return std::pair{caption, size};
    };
    auto [shownName, shownSize] = captionRows("kept.bmp", 0);
    EXPECT_NE(shownName, captionRows("other.bmp", 0).first);
    EXPECT_TRUE(std::count(shownSize.begin(), shownSize.end(), 1) > 0);
    // The size of the picture decoded before is not put under a name that failed.
    auto [blankName, blankSize] = captionRows("kept.bmp", 1);
    EXPECT_EQ(blankName, shownName);
    EXPECT_EQ(std::count(blankSize.begin(), blankSize.end(), 1), 0);
    FullViewBlank = 0;
}

TEST_F(Overlay, CreditLineRisesWhenTheWindowHangsBelowTheScreen) {
    DrawOverlay();
    EXPECT_TRUE(AnyLitInRows(5, 25, 12, 200));
    // 1280 x 960 at scale 1 placed 300 pixels down on a 1080-pixel screen: 180 rows hidden.
    UseFrame(1280, 960);
    AppState.pixelScale = 1;
    AppState.screenHeight = 1080;
    AppState.windowY = 300;
    DrawOverlay();
    EXPECT_FALSE(AnyLitInRows(0, 150, 0, 1280));
    EXPECT_TRUE(AnyLitInRows(185, 205, 12, 200));
    // 960 x 540 at scale 2 moved 300 pixels down: the hidden 300 screen rows are 150 of the
    // frame's.
    UseFrame(960, 540);
    AppState.pixelScale = 2;
    AppState.screenHeight = 1080;
    AppState.windowY = 300;
    DrawOverlay();
    EXPECT_FALSE(AnyLitInRows(0, 150, 0, 960));
    EXPECT_TRUE(AnyLitInRows(155, 175, 12, 200));
}

TEST_F(Overlay, AFolderLongerThanTheTextBufferShowsItsEnd) {
    auto folderLine = [](const std::string& folder) {
        std::snprintf(AppState.browseFolder, FOLDER_CAPACITY, "%s", folder.c_str());
        std::memset(Framebuffer, 0, std::size_t(960) * 540 * 4);
        DrawOverlay();
        std::vector<int> lit;
        for (int y = 540 - 30; y < 540 - 20; ++y)
            for (int x = 0; x < 960; ++x) lit.push_back(Lit(x, y));
        return lit;
    };
    std::string head(200, 'W'), tail = "/films/last folder";
    std::string middle(300, 'i');
    std::string longFolder = head + middle + tail;
    std::vector<int> shown = folderLine(longFolder);
    EXPECT_EQ(shown, folderLine(longFolder.substr(longFolder.size() - 255)));
    EXPECT_NE(shown, folderLine(longFolder.substr(0, 255)));
}

TEST_F(Overlay, ALineWiderThanTheFrameKeepsItsEndAndWholeCharacters) {
    const std::string end = ": showing /the/folder/shown";
    ShowNotice("%s", ("cannot read /" + std::string(200, 'a') + end).c_str());
    DrawNoticeLine();
    std::string drawn = TextBuffer;
    ASSERT_GE(drawn.size(), end.size());
    EXPECT_EQ(drawn.substr(drawn.size() - end.size()), end);
    EXPECT_LE(TextWidth(TextBuffer), 960 - 12);
    EXPECT_GT(TextWidth(("a" + drawn).c_str()), 960 - 12);  // cut no more than it must

    // Two-byte characters: never half of one at the start.
    std::string accents;
    for (int i = 0; i < 200; ++i) accents += "\xC3\xA9";
    ShowNotice("%s", accents.c_str());
    DrawNoticeLine();
    drawn = TextBuffer;
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(std::uint8_t(drawn[0]), 0xC3);
    EXPECT_EQ(drawn.size() % 2, 0u);
    EXPECT_LE(TextWidth(TextBuffer), 960 - 12);
}

}  // namespace
