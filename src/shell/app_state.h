// AppState: the program-wide state that the shell and the media browser share.
#pragma once

constexpr int RESOLUTION_1280 = 0;
constexpr int RESOLUTION_HALF = 1;
constexpr int RESOLUTION_FULL = 2;
constexpr int FOLDER_CAPACITY = 3000;  // bytes of startFolder and browseFolder

struct AppStateRecord {
    int frameWidth = 0, frameHeight = 0;  // set only through ResizeFrame
    int pixelScale = 0;                   // window pixels per frame pixel (1..5 honoured)
    int resolutionMode = 0;               // RESOLUTION_*
    int screenWidth = 0, screenHeight = 0;
    int windowX = 0, windowY = 0;  // window's top-left as last set by the M key
    int viewOffsetX = 0, viewOffsetY = 0;
    int listViewOn = 0;
    int fullViewOn = 0;
    int thumbnailRedraw = 0;
    int selectedEntry = 0;  // 1-based
    int pageFirst = 0;      // 1-based first entry of the thumbnail page
    int listTop = 0;        // the list starts with entry listTop + 1
    int fullViewEntry = 0;
    int imageShown = 0;
    int rescanRequested = 0;
    int cellWidth = 0, cellHeight = 0;
    int labelChars = 9;
    int quitRequested = 0;
    int passCount = 0;
    char startFolder[FOLDER_CAPACITY] = {};
    char browseFolder[FOLDER_CAPACITY] = {};
};

extern AppStateRecord AppState;
