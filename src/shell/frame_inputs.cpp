// The inputs of a media-menu frame, read at the start of a pass and again before its
// overlay, and the record of those the frame on screen came from. The main loop compares
// them to decide whether a pass draws and presents.
#include "shell/frame_inputs.h"

#include "browser/entry_table.h"
#include "browser/fit_view.h"
#include "browser/texture_loader.h"
#include "browser/views.h"
#include "platform/platform.h"
#include "shell/app_state.h"
#include "shell/notice.h"

ShownFrameRecord ShownFrame;

void ReadFrameCursor(MenuFrameInputs& in) {
    // The window's place is not read here: a move or resize marks the screen stale instead,
    // which keeps an idle pass to one round trip to the display.
    in.cursorX = in.cursorY = 0;
    // A fitted picture stands still: only the cross follows the pointer.
    if (in.overlayOn == 1 || (in.fullViewOn == 1 && in.fullViewFit != 1))
        platform::Sys().CursorPosition(in.cursorX, in.cursorY);
}

MenuFrameInputs ReadMenuFrameInputs(bool withCursor) {
    const AppStateRecord& s = AppState;
    MenuFrameInputs in;
    in.frameWidth = s.frameWidth;
    in.frameHeight = s.frameHeight;
    in.pixelScale = s.pixelScale;
    in.resolutionMode = s.resolutionMode;
    in.screenWidth = s.screenWidth;
    in.screenHeight = s.screenHeight;
    in.windowX = s.windowX;
    in.windowY = s.windowY;
    in.viewOffsetX = s.viewOffsetX;
    in.viewOffsetY = s.viewOffsetY;
    in.listViewOn = s.listViewOn;
    in.fullViewOn = s.fullViewOn;
    in.thumbnailRedraw = s.thumbnailRedraw;
    in.listTop = s.listTop;
    in.selectedEntry = s.selectedEntry;
    in.fullViewEntry = s.fullViewEntry;
    in.imageShown = s.imageShown;
    in.labelChars = s.labelChars;
    in.zoomStep = Loader.zoomStep;
    in.panFactor = Loader.panFactor;
    in.overlayOn = Loader.overlayOn;
    in.loadCount = Loader.loadCount;
    in.imageWidth = LoaderInfo.width;
    in.imageHeight = LoaderInfo.height;
    in.imageBits = LoaderInfo.bitsPerPixel;
    in.fullViewBlank = FullViewBlank;
    in.fullViewFit = FullViewFit;
    in.entryScans = EntryTable.scans;
    in.browseFolder = s.browseFolder;
    in.notice = CurrentNotice();
    if (withCursor) ReadFrameCursor(in);
    return in;
}
