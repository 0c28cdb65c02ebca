// The polled view and window keys on the platform double: the view kept on the map, the
// lock, the level keys by mode with their pauses, the window re-made at scales 1 to 4 (and
// at the old scale when the new one cannot be made), moving it to the cursor, and draining.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "quentaro.h"
#include "support/fake_platform.h"

namespace {

// The double with window titles recorded and windows wider than `widest` refused.
struct WindowPlatform : FakePlatform {
    std::vector<std::string> titles;
    int widest = 1 << 30;
    bool CreateMainWindow(const char* title, int x, int y, int width, int height) override {
        titles.push_back(title);
        if (width > widest) {
            calls.push_back("CreateMainWindow");
            return false;
        }
        return FakePlatform::CreateMainWindow(title, x, y, width, height);
    }
};

class ViewKeys : public ::testing::Test {
  protected:
    WindowPlatform fake;

    void SetUp() override {
        AppState = AppStateRecord{};
        AppState.frameWidth = 320;
        AppState.frameHeight = 240;
        AppState.pixelScale = 2;
        FullscreenFlag = false;
        ViewX = ViewY = ViewLevel = 0;
        ViewLocked = 0;
        ConsoleOpen = 0;  // an open console takes M as a letter
        CreateGrids();
        CreateUnitTable();
        PlaceWalker(50, 60, 5);
    }
    void TearDown() override {
        ReleaseWorldTables();
        ViewLocked = 0;
    }
    static void PlaceWalker(int x, int y, int level) {
        UnitTable[1].x = std::uint16_t(x);
        UnitTable[1].y = std::uint16_t(y);
        UnitTable[1].level = std::uint16_t(level);
    }
    void Scroll(int mode, std::vector<int> keys, int times = 1) {
        for (int k : keys) fake.held[k] = true;
        for (int i = 0; i < times; ++i) ScrollView(mode);
        for (int k : keys) fake.held[k] = false;
    }
    void WindowKeys(std::vector<int> keys) {
        for (int k : keys) fake.held[k] = true;
        HandleWindowKeys();
        for (int k : keys) fake.held[k] = false;
    }
};

TEST_F(ViewKeys, ArrowsMoveTheViewOnlyAsFarAsTheMapReaches) {
    Scroll(0, {vk::RIGHT, vk::UP}, 300);
    EXPECT_EQ(ViewX, 256 - 320 / 16);
    EXPECT_EQ(ViewY, 256 - 240 / 16);
    Scroll(0, {vk::LEFT}, 3);
    Scroll(0, {vk::DOWN}, 1);
    EXPECT_EQ(ViewX, 233);
    EXPECT_EQ(ViewY, 240);
    Scroll(0, {vk::LEFT, vk::DOWN}, 300);
    EXPECT_EQ(ViewX, 0);
    EXPECT_EQ(ViewY, 0);
    // A frame wider than the map keeps the view at 0.
    AppState.frameWidth = 4200;
    ViewX = 9;
    Scroll(0, {vk::RIGHT});
    EXPECT_EQ(ViewX, 0);
    EXPECT_TRUE(fake.pauses.empty());
}

TEST_F(ViewKeys, LockedViewIgnoresKeysButStaysOnTheMap) {
    ViewLocked = 1;
    ViewX = 500;
    ViewY = 7;
    ViewLevel = 300;
    Scroll(2, {vk::UP, vk::ADD, vk::SUBTRACT});
    EXPECT_EQ(ViewX, 236);
    EXPECT_EQ(ViewY, 7);
    EXPECT_EQ(ViewLevel, 179);
    EXPECT_TRUE(fake.pauses.empty());
}

TEST_F(ViewKeys, LevelKeysByMode) {
    // Mode 0: ignored and free.
    Scroll(0, {vk::ADD});
    EXPECT_EQ(ViewLevel, 0);
    EXPECT_TRUE(fake.pauses.empty());
    // Mode 2: free, kept to the grid's levels, 380 ms a press.
    Scroll(2, {vk::ADD}, 200);
    EXPECT_EQ(ViewLevel, LEVEL_COUNT - 1);
    Scroll(2, {vk::SUBTRACT}, 3);
    EXPECT_EQ(ViewLevel, LEVEL_COUNT - 4);
    EXPECT_EQ(fake.TotalPause(), 203 * 380);

    // Mode 1: only through open cells at the walker's position, and still 380 ms.
    ViewLevel = 5;
    fake.pauses.clear();
    MapGrid[CellIndex(50, 60, 6)] = 7;
    Scroll(1, {vk::ADD});
    EXPECT_EQ(ViewLevel, 5);
    EXPECT_EQ(fake.pauses, std::vector<int>{380});
    MapGrid[CellIndex(50, 60, 6)] = 0;
    Scroll(1, {vk::ADD});
    EXPECT_EQ(ViewLevel, 6);
    MapGrid[CellIndex(50, 60, 4)] = 3;
    Scroll(1, {vk::SUBTRACT});
    EXPECT_EQ(ViewLevel, 6);
    MapGrid[CellIndex(50, 60, 4)] = 0;
    Scroll(1, {vk::SUBTRACT});
    EXPECT_EQ(ViewLevel, 5);
    // On the overworld and on level 1 the walker looks neither deeper nor up respectively.
    PlaceWalker(50, 60, 0);
    Scroll(1, {vk::ADD});
    EXPECT_EQ(ViewLevel, 5);
    PlaceWalker(50, 60, 1);
    Scroll(1, {vk::SUBTRACT});
    EXPECT_EQ(ViewLevel, 5);
    // A walker off the grid opens nothing.
    PlaceWalker(MAP_WIDTH + 3, 60, 5);
    Scroll(1, {vk::ADD});
    EXPECT_EQ(ViewLevel, 5);
}

TEST_F(ViewKeys, FunctionKeysRemakeTheWindowAtScalesOneToFour) {
    const int keys[] = {vk::F1, vk::F2, vk::F3, vk::F4};
    for (int scale = 1; scale <= 4; ++scale) {
        WindowKeys({keys[scale - 1]});
        EXPECT_EQ(AppState.pixelScale, scale);
        EXPECT_EQ(fake.rect.right - fake.rect.left, 320 * scale);
        EXPECT_EQ(fake.rect.bottom - fake.rect.top, 240 * scale);
        EXPECT_EQ(fake.windows, 1);
        EXPECT_EQ(fake.classes, 1);
        EXPECT_FALSE(fake.cursorShown);
    }
    EXPECT_EQ(fake.titles, std::vector<std::string>(4, "KORVIS"));
    EXPECT_EQ(PixelFormatRequest.colourBits, 16);
    // A held key re-makes the window on every call.
    WindowKeys({vk::F2});
    WindowKeys({vk::F2});
    EXPECT_EQ(fake.titles.size(), 6u);
    EXPECT_EQ(fake.windows, 1);
    EXPECT_TRUE(fake.messages.empty());
    WindowKeys({});
    EXPECT_EQ(fake.titles.size(), 6u);
}

TEST_F(ViewKeys, AWindowThatCannotBeMadeIsMadeAgainAtTheOldScale) {
    WindowKeys({vk::F2});
    fake.widest = 3 * 320;
    WindowKeys({vk::F4});
    EXPECT_EQ(fake.messages, std::vector<std::string>{"ERROR: Window Creation Error."});
    EXPECT_EQ(AppState.pixelScale, 2);
    EXPECT_EQ(fake.windows, 1);
    EXPECT_EQ(fake.rect.right - fake.rect.left, 640);
    EXPECT_EQ(AppState.quitRequested, 0);

    // When no window can be made at all the program still goes on; a later key tries again.
    fake.widest = 0;
    fake.messages.clear();
    WindowKeys({vk::F3});
    EXPECT_EQ(fake.messages.size(), 2u);
    EXPECT_EQ(fake.windows, 0);
    EXPECT_EQ(AppState.quitRequested, 0);
    fake.widest = 1 << 30;
    fake.messages.clear();
    WindowKeys({vk::F1});
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(fake.windows, 1);
    EXPECT_EQ(AppState.pixelScale, 1);
}

TEST_F(ViewKeys, MMovesTheWindowToTheCursor) {
    fake.cursorX = 300;
    fake.cursorY = 200;
    AppState.pixelScale = 3;
    MoveWindowToCursor();
    EXPECT_EQ(fake.rect.left, 0);  // M is not held
    fake.held['M'] = true;
    MoveWindowToCursor();
    EXPECT_EQ(fake.rect.left, 300);
    EXPECT_EQ(fake.rect.top, 200);
    EXPECT_EQ(fake.rect.right, 300 + 960);
    EXPECT_EQ(fake.rect.bottom, 200 + 720);
    EXPECT_FALSE(fake.cursorShown);
    // The window keys end with the same move.
    fake.cursorX = 10;
    HandleWindowKeys();
    EXPECT_EQ(fake.rect.left, 10);
    // An M typed into the open console is a letter of its line only.
    ConsoleOpen = 1;
    fake.cursorX = 500;
    HandleWindowKeys();
    ConsoleOpen = 0;
    EXPECT_EQ(fake.rect.left, 10);
}

TEST_F(ViewKeys, DrainMessagesEmptiesTheQueue) {
    KeyState['Q'] = 0;
    fake.events.push_back({platform::EventSource::Window, platform::MSG_PAINT, 0});
    fake.events.push_back({platform::EventSource::Keyboard, platform::MSG_KEYDOWN, 'Q'});
    fake.events.push_back({platform::EventSource::Window, platform::MSG_CLOSE, 0});
    DrainMessages();
    EXPECT_TRUE(fake.events.empty());
    EXPECT_EQ(KeyState['Q'], 1);
    EXPECT_EQ(AppState.quitRequested, 1);
    KeyState['Q'] = 0;
}

}  // namespace
