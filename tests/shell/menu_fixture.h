// A media menu as StartUp leaves it on a 1920 x 1080 screen (frame 960 x 540, scale 2,
// window at the origin), over the fake platform, with an EntryTable of chosen entries.
#pragma once

#include <cstdio>
#include <string>

#include "support/frame_fixture.h"

class MenuTest : public FrameTest {
  protected:
    void SetUp() override {
        UseFrame(960, 540);
        AppState.pixelScale = 2;
        AppState.resolutionMode = RESOLUTION_HALF;
        AppState.cellWidth = AppState.cellHeight = 140;
        AppState.listViewOn = 1;
        AppState.selectedEntry = 1;
        AppState.pageFirst = 1;
        AppState.screenWidth = fake.screenWidth;
        AppState.screenHeight = fake.screenHeight;
        std::string here = platform::CurrentFolder();
        std::snprintf(AppState.startFolder, FOLDER_CAPACITY, "%s", here.c_str());
        std::snprintf(AppState.browseFolder, FOLDER_CAPACITY, "%s", here.c_str());
        fake.rect = {0, 0, 1920, 1080};
        Loader.zoomStep = 4.0f;
        Loader.panFactor = 0;
        Loader.overlayOn = 1;
        AllocateEntryTable();
        SetEntries(30);
        std::memset(KeyState, 0, sizeof KeyState);
        MouseState = MouseStateRecord{};
    }

    void TearDown() override {
        std::memset(KeyState, 0, sizeof KeyState);
        MouseState = MouseStateRecord{};
        FrameTest::TearDown();
    }

    // Entries 1..count named "entry<n>"; all files.
    static void SetEntries(int count) {
        EntryTable.count = count;
        for (int n = 1; n <= count; ++n) {
            std::snprintf(EntryTable.names[n], ENTRY_NAME_SIZE, "entry%d", n);
            EntryTable.kinds[n] = 1;
        }
    }

    static void SetEntry(int n, const char* name, int kind) {
        std::snprintf(EntryTable.names[n], ENTRY_NAME_SIZE, "%s", name);
        EntryTable.kinds[n] = kind;
    }

    void PointAt(int column, int row) {
        fake.PointAtFramePixel(column, row, AppState.frameWidth, AppState.frameHeight);
    }

    // One key-down recorded by the hooks since the last pass.
    static void Press(int virtualKey) { KeyState[virtualKey] = 1; }

    static bool InThumbnailView() {
        return AppState.listViewOn == 0 && AppState.fullViewOn == 0 &&
               AppState.thumbnailRedraw == 1;
    }
};
