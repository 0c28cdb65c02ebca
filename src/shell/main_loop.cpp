// The spine of the program: start-up in its order, one pass of the main loop in its
// order, shutdown, and the pump that hands each pending event to the hook procedures
// or to the window procedure.
#include "shell/main_loop.h"

#include <cstdio>
#include <cstring>

#include "browser/entry_table.h"
#include "browser/player.h"
#include "browser/texture_loader.h"
#include "browser/views.h"
#include "draw/trig_tables.h"
#include "gamedata/game_data.h"
#include "platform/platform.h"
#include "scene/scene_buffers.h"
#include "shell/app_state.h"
#include "shell/command_line.h"
#include "shell/data_folder.h"
#include "shell/frame_buffers.h"
#include "shell/gl_window.h"
#include "shell/input_hooks.h"
#include "shell/overlay.h"

using platform::Sys;

namespace {

void CopyFolder(char* target, const std::string& folder) {
    std::snprintf(target, FOLDER_CAPACITY, "%s", folder.c_str());
}

}  // namespace

int HalfScreen(int size) {
    return size / 2 - (size % 2 != 0 ? 1 : 0);
}

int ConnectDisplay() {
    std::string why;
    if (Sys().Connect(why)) return 1;
    std::fprintf(stderr, "quentaro: %s\n", why.c_str());
    return 0;
}

void StartUp() {
    // The trig tables fill on a helper while the rest of start-up runs and the window opens.
    BeginTrigTables();
    // The working directory is kept whole: cut at the old 260-character limit it would
    // name a folder that does not exist.
    std::string folder = platform::CurrentFolder();
    CopyFolder(AppState.startFolder, folder);
    CopyFolder(AppState.browseFolder,
               StartOptions.browseFolder.empty() ? folder : StartOptions.browseFolder);
    FindDataFolder(folder, platform::ProgramFolder());
    AppState.resolutionMode = RESOLUTION_HALF;
    ResizeFrame(HalfScreen(Sys().ScreenWidth()), HalfScreen(Sys().ScreenHeight()));
    AppState.pixelScale = 2;
    AppState.cellWidth = AppState.cellHeight = 140;
    InitGameData();
    if (StartOptions.verbose) ReportProgramFiles();
    OpenMainWindow();
    AllocateImageStore();
    Loader.pixels = ImageStore;
    Loader.overlayOn = 1;
    AppState.pageFirst = 1;
    AppState.selectedEntry = 1;
    AllocateEntryTable();
    AllocateSceneDepthBuffer();
    Loader.zoomStep = 4.0f;
    AppState.imageShown = 0;
    AppState.listViewOn = 1;
    AppState.fullViewOn = 0;
    AppState.thumbnailRedraw = 0;
    Rescan();
    std::memset(KeyState, 0, sizeof KeyState);
    MouseState = MouseStateRecord{};
    AppState.viewOffsetX = AppState.viewOffsetY = 0;
    AppState.windowX = AppState.windowY = 0;
    AppState.screenWidth = Sys().ScreenWidth();
    AppState.screenHeight = Sys().ScreenHeight();
    FinishTrigTables();
}

void RunPass() {
    if (AppState.listViewOn == 1) DrawListView();
    if (AppState.thumbnailRedraw == 1) DrawThumbnailPage();
    if (AppState.fullViewOn == 1) DrawFullView();
    HandleBrowserClick();
    HandlePlayClick();
    ApplyFirstKeys();
    std::memcpy(Framebuffer, SavedFrame,
                std::size_t(AppState.frameWidth) * std::size_t(AppState.frameHeight) * 4);
    if (Loader.overlayOn == 1) {
        DrawCursorCross();
        DrawOverlay();
    }
    HandleOverlayClick();
    PresentFrame();
    ApplySecondKeys();
    MouseState.rightPress = 0;
    std::memset(KeyState, 0, sizeof KeyState);
    while (PumpMessages()) {
    }
    AppState.passCount += 1;
}

int RunMainLoop() {
    StartUp();
    InstallInputHooks();
    while (AppState.quitRequested == 0) RunPass();
    ShutDown();
    return 0;
}

void ShutDown() {
    ReleaseFrameBuffers();
    ReleaseGameData();
}

int PumpMessages() {
    platform::Event event;
    if (!Sys().NextEvent(event)) return 0;
    switch (event.source) {
    case platform::EventSource::Keyboard:
        KeyboardHook(HC_ACTION, event.message, event);
        break;
    case platform::EventSource::Mouse:
        MouseHook(HC_ACTION, event.message, event);
        break;
    case platform::EventSource::Window:
        WindowProc(event);
        break;
    }
    return 1;
}
