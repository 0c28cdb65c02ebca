// Start-up and one pass of the main loop over the fake platform.
#include "support/frame_fixture.h"
#include "support/picture_files.h"

namespace {

class MainLoop : public FrameTest {
  protected:
    void TearDown() override {
        CloseGlWindow();
        FrameTest::TearDown();
    }
};

TEST_F(MainLoop, StartUpSizesTheFrameToHalfTheScreen) {
    const struct {
        int screenWidth, screenHeight, frameWidth, frameHeight;
    } cases[] = {{1920, 1080, 960, 540}, {1921, 1081, 959, 539}, {1366, 767, 683, 382}};
    for (auto c : cases) {
        fake.screenWidth = c.screenWidth;
        fake.screenHeight = c.screenHeight;
        AppState = AppStateRecord{};
        StartUp();
        EXPECT_EQ(AppState.frameWidth, c.frameWidth);
        EXPECT_EQ(AppState.frameHeight, c.frameHeight);
        EXPECT_EQ(AppState.pixelScale, 2);
        EXPECT_EQ(fake.rect.right, c.frameWidth * 2);
        EXPECT_EQ(fake.rect.bottom, c.frameHeight * 2);
        EXPECT_EQ(AppState.screenWidth, c.screenWidth);
        CloseGlWindow();
    }
    EXPECT_EQ(AppState.resolutionMode, RESOLUTION_HALF);
    EXPECT_EQ(AppState.listViewOn, 1);
    EXPECT_EQ(AppState.selectedEntry, 1);
    EXPECT_EQ(AppState.pageFirst, 1);
    EXPECT_EQ(AppState.cellWidth, 140);
    EXPECT_EQ(AppState.labelChars, 9);
    EXPECT_EQ(Loader.zoomStep, 4.0f);
    EXPECT_EQ(Loader.overlayOn, 1);
    EXPECT_EQ(Loader.pixels, ImageStore);
    EXPECT_NE(SinTable, nullptr);
    EXPECT_STREQ(AppState.startFolder, platform::CurrentFolder().c_str());
    EXPECT_STREQ(AppState.browseFolder, AppState.startFolder);
}

TEST_F(MainLoop, AFolderFromTheCommandLineIsBrowsedWhileTheStartFolderStaysCurrent) {
    KeepCurrentFolder keep;
    TempFolder start, browsed;
    browsed.Touch("a.jpg");
    browsed.Touch("b.jpg");
    browsed.MakeFolder("sub");
    platform::SetCurrentFolder(start.Path().c_str());
    StartOptions.browseFolder = browsed.Path();
    fake.screenWidth = 200;
    fake.screenHeight = 100;
    StartUp();
    StartOptions = StartOptionsRecord{};
    EXPECT_STREQ(AppState.startFolder, start.Path().c_str());
    EXPECT_STREQ(AppState.browseFolder, browsed.Path().c_str());
    EXPECT_EQ(EntryTable.count, 5);  // ".", "..", a.jpg, b.jpg, sub
    EXPECT_STREQ(EntryTable.names[5], "sub");
    EXPECT_EQ(platform::CurrentFolder(), start.Path());
}

TEST_F(MainLoop, AWorkingFolderFitsOnlyWithRoomForItsEnd) {
    EXPECT_EQ(FolderFits(std::string(FOLDER_CAPACITY - 1, 'd')), 1);
    EXPECT_EQ(FolderFits(std::string(FOLDER_CAPACITY, 'd')), 0);
    EXPECT_EQ(FolderFits(""), 0);
}

TEST_F(MainLoop, PassPresentsTheSavedFrameThenForgetsInputThenPumps) {
    fake.screenWidth = 200;
    fake.screenHeight = 100;
    StartUp();
    AppState.listViewOn = 0;  // no view redraws, so the saved frame stays as set here
    // What the saved view holds is what the pass presents.
    PutSavedPixel(5, 5, 10, 20, 30);
    KeyState[65] = 1;
    MouseState.rightPress = 1;
    // An event waiting in the queue is pumped at the end of the pass, after the clear.
    fake.events.push_back({platform::EventSource::Keyboard, platform::MSG_KEYDOWN, 66});
    fake.events.push_back({platform::EventSource::Mouse, platform::MSG_RBUTTONDOWN, 0});
    int swaps = fake.swaps;
    RunPass();
    EXPECT_EQ(fake.swaps, swaps + 1);
    EXPECT_EQ(Rgb(5, 5), (std::array<int, 3>{10, 20, 30}));
    EXPECT_EQ(KeyState[65], 0);
    EXPECT_EQ(KeyState[66], 1);
    EXPECT_EQ(MouseState.rightPress, 1);
    EXPECT_TRUE(fake.events.empty());
    EXPECT_EQ(AppState.passCount, 1);
}

TEST_F(MainLoop, KeysOfBothGroupsActInThePassThatSeesThem) {
    fake.screenWidth = 200;
    fake.screenHeight = 100;
    StartUp();
    Loader.panFactor = 0;
    // First group: ']' turns to the thumbnails. Second group, after the frame is shown:
    // scroll, zoom, pan, overlay, a resolution switch and Escape.
    for (int key : {221, 190, int('3'), int('9'), int('0'), 117, 27}) KeyState[key] = 1;
    RunPass();
    EXPECT_EQ(AppState.listViewOn, 0);
    EXPECT_EQ(AppState.thumbnailRedraw, 1);
    EXPECT_EQ(AppState.listTop, 1);
    EXPECT_EQ(Loader.zoomStep, 3.0f);
    EXPECT_EQ(Loader.panFactor, 9);
    EXPECT_EQ(Loader.overlayOn, 0);
    EXPECT_EQ(AppState.frameWidth, 1280);
    EXPECT_EQ(AppState.resolutionMode, RESOLUTION_1280);
    EXPECT_EQ(AppState.quitRequested, 1);
    for (int key = 0; key < 256; ++key) EXPECT_EQ(KeyState[key], 0) << key;
}

TEST_F(MainLoop, CloseRequestEndsTheLoopAfterItsPass) {
    fake.screenWidth = 200;
    fake.screenHeight = 100;
    StartUp();
    fake.events.push_back({platform::EventSource::Window, platform::MSG_CLOSE, 0});
    RunPass();
    EXPECT_EQ(AppState.quitRequested, 1);
    EXPECT_EQ(fake.windows, 1);  // the close request leaves the window alone
}

TEST_F(MainLoop, HooksRecordOnlyKeyDownsAndRightPresses) {
    platform::Event key{platform::EventSource::Keyboard, platform::MSG_KEYDOWN, 84};
    KeyboardHook(HC_ACTION, platform::MSG_KEYDOWN, key);
    EXPECT_EQ(KeyState[84], 1);
    key.param = 116;
    KeyboardHook(HC_ACTION, platform::MSG_SYSKEYDOWN, key);
    KeyboardHook(HC_ACTION, platform::MSG_KEYUP, key);
    KeyboardHook(1, platform::MSG_KEYDOWN, key);
    EXPECT_EQ(KeyState[116], 0);
    MouseState = MouseStateRecord{};
    MouseHook(HC_ACTION, platform::MSG_LBUTTONDOWN, {});
    MouseHook(HC_ACTION, platform::MSG_MOUSEWHEEL, {});
    EXPECT_EQ(MouseState.rightPress, 0);
    MouseHook(HC_ACTION, platform::MSG_RBUTTONDOWN, {});
    EXPECT_EQ(MouseState.rightPress, 1);
    std::memset(KeyState, 0, sizeof KeyState);
}

}  // namespace
