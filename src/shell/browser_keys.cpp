// The media menu's key bindings, run twice per pass of the main loop (before and after
// the overlay), the thumbnail paging and the resolution switches. Most bindings pause
// the whole program afterwards: that pause is what debounces a key.
#include <algorithm>

#include "browser/entry_table.h"
#include "browser/fit_view.h"
#include "browser/player.h"
#include "browser/texture_loader.h"
#include "browser/views.h"
#include "platform/platform.h"
#include "platform/virtual_keys.h"
#include "scene/key_poll.h"
#include "shell/app_state.h"
#include "shell/frame_buffers.h"
#include "shell/gl_window.h"
#include "shell/input_hooks.h"
#include "shell/main_loop.h"
#include "shell/overlay.h"

using platform::Sys;

namespace {

constexpr int LIST_TOP_LAST = 2999;
constexpr int SHIFT_STEP = 24;

bool Pressed(int virtualKey) {
    return KeyState[virtualKey] == 1;
}

// Shift is read live: KeyState only holds key-downs since the last pass, a held Shift
// stops repeating once ',' goes down, and the capture names the two Shift keys apart. Only
// the held state counts: a Shift let go since it was last asked, perhaps long ago and in
// another window, is no Shift with this ','.
bool ShiftHeld() {
    return KeyHeldNow(vk::SHIFT) == 1;
}

void ResetOffsets() {
    AppState.viewOffsetX = AppState.viewOffsetY = 0;
}

int CellsPerPage() {
    return ThumbnailColumns() * ThumbnailRows();
}

}  // namespace

void ApplyFirstKeys() {
    AppStateRecord& s = AppState;
    if (Pressed(vk::OEM_6)) {
        ResetOffsets();
        NextPage();
    }
    if (Pressed(vk::OEM_4)) {
        ResetOffsets();
        PreviousPage();
    }
    if (Pressed('P') && s.listViewOn == 1 && s.selectedEntry != 0 && SelectedEntryIsFile()) {
        LaunchPlayer();
        PlacePlayerWindow();
    }
    // One T is one switch: from the list or the full view to the thumbnails, otherwise
    // back to the list, so that a second T returns to where the first started.
    if (Pressed('T')) {
        if (s.listViewOn == 1 || s.fullViewOn == 1) {
            ShowThumbnailView();
        } else {
            ShowListView();
        }
        Sys().Pause(180);
        s.pageFirst = s.selectedEntry;
        ResetOffsets();
    }
}

void ApplySecondKeys() {
    AppStateRecord& s = AppState;
    if (Pressed('M') && s.frameWidth == 1280) {
        int x, y;
        Sys().CursorPosition(x, y);
        Sys().MoveMainWindow(x, y, s.frameWidth * s.pixelScale, s.frameHeight * s.pixelScale);
        Sys().ShowSystemCursor(false);
        s.windowX = x;
        s.windowY = y;
    }
    if (Pressed(vk::ESCAPE)) s.quitRequested = 1;
    if (Pressed('R') || s.rescanRequested == 1) {
        Rescan();
        s.rescanRequested = 0;
    }
    if (Pressed('N') && s.listViewOn == 1) {
        s.viewOffsetX = CursorColumn();
        s.viewOffsetY = CursorRow() - s.frameHeight;
    }
    if (Pressed(vk::F5)) ChangeResolution(RESOLUTION_HALF);
    if (Pressed(vk::F6)) ChangeResolution(RESOLUTION_1280);
    if (Pressed(vk::F8)) ChangeResolution(RESOLUTION_FULL);
    if (Pressed(vk::F7)) {
        OpenExplorer();
        Sys().Pause(450);
    }
    if (Pressed(vk::OEM_COMMA)) {
        if (s.listTop > 0) s.listTop -= 1;
        Sys().Pause(30);
    }
    if (Pressed(vk::OEM_PERIOD)) {
        if (s.listTop < LIST_TOP_LAST) s.listTop += 1;
        Sys().Pause(30);
    }
    if (Pressed(vk::OEM_COMMA) && ShiftHeld()) {
        s.listTop = std::max(s.listTop - SHIFT_STEP, 0);
        Sys().Pause(30);
    }
    if (Pressed(vk::OEM_PERIOD) && ShiftHeld()) {
        // An empty folder has no last entry: the list then stays at its start.
        s.listTop = std::max(std::min(s.listTop + SHIFT_STEP, EntryTable.count - 1), 0);
        Sys().Pause(30);
    }
    // A zoom or a pan key gives the picture back to the pointer.
    static constexpr float ZOOM_STEPS[6] = {1.0f, 2.0f, 3.0f, 4.0f, 0.5f, 0.25f};
    for (int k = 0; k < 6; ++k)
        if (Pressed('1' + k)) {
            Loader.zoomStep = ZOOM_STEPS[k];
            FullViewFit = 0;
        }
    static constexpr int PAN_FACTORS[3] = {0, 3, 9};
    for (int k = 0; k < 3; ++k)
        if (Pressed('7' + k)) {
            Loader.panFactor = PAN_FACTORS[k];
            FullViewFit = 0;
        }
    if (Pressed('F') && s.fullViewOn == 1) FullViewFit = 1;
    if (Pressed('0')) {
        Loader.overlayOn = Loader.overlayOn == 1 ? 0 : 1;
        Sys().Pause(450);
    }
}

void ShowListView() {
    AppState.listViewOn = 1;
    AppState.fullViewOn = 0;
    AppState.thumbnailRedraw = 0;
}

void ShowThumbnailView() {
    AppState.listViewOn = 0;
    AppState.fullViewOn = 0;
    AppState.thumbnailRedraw = 1;
}

void NextPage() {
    ShowThumbnailView();
    AppState.pageFirst += CellsPerPage();
    if (AppState.pageFirst > EntryTable.count) AppState.pageFirst = EntryTable.count;
    // pageFirst numbers an entry: an empty folder keeps it at the first.
    if (AppState.pageFirst < 1) AppState.pageFirst = 1;
    Sys().Pause(150);
}

void PreviousPage() {
    ShowThumbnailView();
    AppState.pageFirst -= CellsPerPage();
    if (AppState.pageFirst <= 0) AppState.pageFirst = 1;
    Sys().Pause(150);
}

void ChangeResolution(int mode) {
    AppStateRecord& s = AppState;
    s.screenWidth = Sys().ScreenWidth();
    s.screenHeight = Sys().ScreenHeight();
    s.resolutionMode = mode;
    if (mode == RESOLUTION_HALF)
        ResizeFrame(HalfScreen(s.screenWidth), HalfScreen(s.screenHeight));
    else if (mode == RESOLUTION_1280)
        ResizeFrame(1280, 960);
    else
        ResizeFrame(s.screenWidth, s.screenHeight);
    const bool half = mode == RESOLUTION_HALF;
    s.pixelScale = half ? 2 : 1;
    CloseGlWindow();
    OpenMainWindow();
    s.cellWidth = s.cellHeight = half ? 140 : 200;
    Loader.zoomStep = half ? 3.0f : 2.0f;
    s.viewOffsetX = s.viewOffsetY = s.windowX = s.windowY = 0;
    if (s.listViewOn != 1 && s.fullViewOn != 1) s.thumbnailRedraw = 1;
}
