// The spine of the program: start-up in its order, one pass of the main loop in its
// order, shutdown, and the pump that hands each pending event to the hook procedures
// or to the window procedure.
#include "shell/main_loop.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "browser/entry_table.h"
#include "browser/player.h"
#include "browser/texture_loader.h"
#include "browser/thumbnail_cache.h"
#include "browser/views.h"
#include "draw/trig_tables.h"
#include "gamedata/game_data.h"
#include "platform/platform.h"
#include "scene/scene_buffers.h"
#include "shell/app_state.h"
#include "shell/command_line.h"
#include "shell/data_folder.h"
#include "shell/frame_buffers.h"
#include "shell/frame_inputs.h"
#include "shell/gl_window.h"
#include "shell/input_hooks.h"
#include "shell/notice.h"
#include "shell/overlay.h"
#include "shell/pacing.h"

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

int FolderFits(const std::string& folder) {
    return !folder.empty() && folder.size() < std::size_t(FOLDER_CAPACITY) ? 1 : 0;
}

void StartUp() {
    // The working directory is kept whole: cut at the old 260-character limit it would
    // name a folder that does not exist. One too long for the folder buffers ends the
    // program before its window opens rather than show a list of nothing.
    std::string folder = platform::CurrentFolder();
    if (!FolderFits(folder)) {
        if (folder.empty())
            std::fprintf(stderr, "quentaro: cannot read the path of the working folder\n");
        else
            std::fprintf(stderr,
                         "quentaro: the working folder's path is %zu bytes long; at most %d fit\n",
                         folder.size(), FOLDER_CAPACITY - 1);
        std::exit(1);
    }
    // The trig tables fill on a helper while the rest of start-up runs and the window opens.
    BeginTrigTables();
    CopyFolder(AppState.startFolder, folder);
    CopyFolder(AppState.browseFolder,
               StartOptions.browseFolder.empty() ? folder : StartOptions.browseFolder);
    FindDataFolder(folder, platform::ProgramFolder());
    // Only the per-user map folder: the start folder is the first one browsed, and a map/
    // made there would show in the user's list.
    if (OverworldFolder() != ProgramFilesFolder()) MakeOverworldFolder();
    AppState.resolutionMode = RESOLUTION_HALF;
    ResizeFrame(HalfScreen(Sys().ScreenWidth()), HalfScreen(Sys().ScreenHeight()));
    AppState.pixelScale = 2;
    AppState.cellWidth = AppState.cellHeight = 140;
    InitGameData();
    if (StartOptions.verbose) ReportProgramFiles();
    OpenMainWindow();
    AllocateImageStore();
    Loader.pixels = ImageStore;
    ThumbnailCacheRoot = platform::ThumbnailCacheFolder();
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

namespace {

// Steps 1 to 3: the view, drawn from the state at the start of the pass.
void DrawView() {
    if (AppState.listViewOn == 1) DrawListView();
    if (AppState.thumbnailRedraw == 1) DrawThumbnailPage();
    if (AppState.fullViewOn == 1) DrawFullView();
}

// Steps 6 and 7: the saved view under the overlay. `viewFresh` is false when the pick ids
// under the overlay are those of an earlier pass's overlay.
void ComposeFrame(const MenuFrameInputs& view, bool viewFresh) {
    // The list and the full view start their pick ids afresh each time they are drawn; a
    // frame composed over a view kept from an earlier pass must not find that pass's buttons.
    if (!viewFresh && (view.listViewOn == 1 || view.fullViewOn == 1)) ForgetOverlayPicks();
    std::memcpy(Framebuffer, SavedFrame,
                std::size_t(AppState.frameWidth) * std::size_t(AppState.frameHeight) * 4);
    if (Loader.overlayOn == 1) {
        DrawCursorCross();
        DrawOverlay();
    } else {
        DrawNoticeLine();
    }
}

// What the pass shows of a thumbnail page requested in it, which the next pass draws.
enum class PageNotice { NotAsked, Quiet, Shown };

// A page with pictures to decode is announced, in a frame of its own, while the next pass
// decodes; one that the cache or the page kept in memory holds whole comes in a few
// hundredths of a second, and a frame of the old view in between would only delay it.
// True when the notice went up now.
bool AnnouncePage(PageNotice& notice) {
    if (notice != PageNotice::NotAsked || AppState.thumbnailRedraw != 1) return false;
    notice = PageNotice::Quiet;
    if (PicturesToDecodeOnNextPage() == 0) return false;
    int pictures = PicturesOnNextPage();
    ShowProgress("reading %d picture%s", pictures, pictures == 1 ? "" : "s");
    notice = PageNotice::Shown;
    return true;
}

bool QuietPagePending(PageNotice notice) {
    return AppState.thumbnailRedraw == 1 && notice == PageNotice::Quiet;
}

}  // namespace

// A pass whose inputs match the frame on screen skips drawing and presenting; the other
// steps run in every pass, in their order.
void RunPass() {
    const MenuFrameInputs before = ReadMenuFrameInputs();
    const bool stale = TakeScreenStale();
    const bool drawView = stale || !ShownFrame.known || !(before == ShownFrame.inputs) ||
                          AppState.thumbnailRedraw == 1;
    if (drawView) DrawView();
    HandleBrowserClick();
    HandlePlayClick();
    ApplyFirstKeys();
    PageNotice notice = PageNotice::NotAsked;
    AnnouncePage(notice);
    // The cursor is asked again only for a frame about to be drawn: a move during an idle
    // pass is seen by the next one.
    MenuFrameInputs shown = ReadMenuFrameInputs(false);
    shown.cursorX = before.cursorX;
    shown.cursorY = before.cursorY;
    bool present = (drawView || !(shown == ShownFrame.inputs)) && !QuietPagePending(notice);
    if (present) {
        ReadFrameCursor(shown);
        ComposeFrame(before, drawView);
    }
    HandleOverlayClick();
    if (AnnouncePage(notice)) {
        shown = ReadMenuFrameInputs();
        ComposeFrame(before, false);
        present = true;
    }
    if (QuietPagePending(notice)) present = false;
    if (present) {
        PresentFrame();
        // A state changed between the view and the overlay leaves a mixed frame on screen.
        ShownFrame.known = before == shown;
        ShownFrame.inputs = shown;
    }
    ApplySecondKeys();
    // "reading N pictures" lasts while its page is pending: drawn, or called off.
    if (AppState.thumbnailRedraw != 1) EndProgressNotice();
    MouseState.rightPress = 0;
    std::memset(KeyState, 0, sizeof KeyState);
    // A pass that drew nothing, and leaves nothing to draw, has time to spare for the
    // thumbnails of the page on screen.
    if (!drawView && AppState.thumbnailRedraw != 1) WritePendingThumbnail();
    EndPacedPass();
    while (PumpMessages()) {
    }
    ReportStartFailures();
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
