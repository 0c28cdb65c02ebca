// Everything the frame of one media-menu pass is drawn from. A pass whose inputs equal
// those of the frame on screen (and whose window still shows that frame) neither draws
// nor presents: an idle menu costs next to nothing.
#pragma once

#include <string>

struct MenuFrameInputs {
    int frameWidth = 0, frameHeight = 0, pixelScale = 0, resolutionMode = 0;
    int screenWidth = 0, screenHeight = 0, windowX = 0, windowY = 0;
    int viewOffsetX = 0, viewOffsetY = 0;
    int listViewOn = 0, fullViewOn = 0, thumbnailRedraw = 0;
    int listTop = 0, selectedEntry = 0, fullViewEntry = 0, imageShown = 0, labelChars = 0;
    int cursorX = 0, cursorY = 0;  // screen position, while the cross or the picture follows it
    float zoomStep = 0;
    int panFactor = 0, overlayOn = 0;
    int loadCount = 0, imageWidth = 0, imageHeight = 0, imageBits = 0, fullViewBlank = 0;
    int fullViewFit = 0;
    int entryScans = 0;
    std::string browseFolder;
    std::string notice;
    bool operator==(const MenuFrameInputs&) const = default;
};

struct ShownFrameRecord {
    bool known = false;  // false: the screen may show a mix of states; draw anew
    MenuFrameInputs inputs;
};

extern ShownFrameRecord ShownFrame;  // what the frame on screen was drawn from

// The cursor is asked of the display only with `withCursor` (one round trip); otherwise
// it is left at 0 for the caller to fill.
MenuFrameInputs ReadMenuFrameInputs(bool withCursor = true);
// The cursor part of `inputs`, asked of the display now.
void ReadFrameCursor(MenuFrameInputs& inputs);
