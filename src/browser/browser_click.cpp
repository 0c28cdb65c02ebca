// Right presses on thumbnails and list entries, run once per pass by the main loop: a
// thumbnail opens its picture in the full view; a list press selects, and a second press
// on a selected folder moves into it or up to its parent.
#include <cstring>
#include <string>

#include "browser/entry_table.h"
#include "browser/folder_path.h"
#include "browser/texture_loader.h"
#include "browser/views.h"
#include "platform/platform.h"
#include "shell/app_state.h"
#include "shell/frame_buffers.h"
#include "shell/input_hooks.h"
#include "shell/notice.h"

using platform::Sys;

namespace {

void PressThumbnail(int n) {
    const char* name = EntryTable.names[n];
    platform::SetCurrentFolder(AppState.browseFolder);
    Loader.Probe(name, LoaderInfo);
    platform::SetCurrentFolder(AppState.startFolder);
    AppState.imageShown = 0;
    if (Loader.supported == 1) {
        // Outside the browse folder the name would find another file of the same name.
        bool inFolder = platform::SetCurrentFolder(AppState.browseFolder);
        FullViewBlank = inFolder && Loader.Load(name, LoaderInfo) == 1 ? 0 : 1;
        platform::SetCurrentFolder(AppState.startFolder);
        if (FullViewBlank == 1) ReportFailure("cannot decode the picture %s", name);
        AppState.imageShown = 1;
        Loader.panFactor = 3;
        Loader.overlayOn = 1;
    }
    Sys().Pause(350);
    if (AppState.imageShown == 1) {
        AppState.fullViewOn = 1;
        AppState.fullViewEntry = n;
        FullViewName = name;
        AppState.viewOffsetX = AppState.viewOffsetY = 0;
        MouseState.rightPress = 0;
    }
}

// Makes `folder` the browse folder and shows it as a fresh list. False, with nothing
// changed but a notice, when it would not fit `browseFolder` or cannot be entered.
bool MoveTo(const std::string& folder) {
    if (folder.size() >= sizeof AppState.browseFolder) {
        ReportFailure("cannot enter %s: its path is too long", folder.c_str());
        return false;
    }
    if (!platform::SetCurrentFolder(folder.c_str())) {
        ReportFailure("cannot enter %s", folder.c_str());
        return false;
    }
    platform::SetCurrentFolder(AppState.startFolder);
    std::memcpy(AppState.browseFolder, folder.c_str(), folder.size() + 1);
    Rescan();
    AppState.selectedEntry = 1;
    AppState.listViewOn = 1;
    AppState.rescanRequested = 1;
    MouseState.rightPress = 0;
    Sys().Pause(180);
    return true;
}

void PressListEntry(int n) {
    if (n != AppState.selectedEntry) {
        AppState.selectedEntry = n;
        MouseState.rightPress = 0;
        Sys().Pause(480);
        return;
    }
    if (EntryTable.kinds[n] != 0) return;  // a file: the player's press
    const char* name = EntryTable.names[n];
    char separator = platform::PathSeparator();
    if (std::strcmp(name, "..") == 0)
        MoveTo(FolderUp(AppState.browseFolder, separator));
    else if (std::strcmp(name, ".") != 0)
        MoveTo(FolderDown(AppState.browseFolder, name, separator));
    Sys().Pause(650);
}

}  // namespace

void HandleBrowserClick() {
    if (MouseState.rightPress != 1) return;
    int id = PickBuffer[CursorRow() * AppState.frameWidth + CursorColumn()];
    if (id == 0) return;
    if (id >= PICK_THUMBNAIL_BASE && id < PICK_THUMBNAIL_BASE + MAX_ENTRIES &&
        AppState.listViewOn == 0 && AppState.fullViewOn == 0) {
        // A scan since the page was drawn (R, or a return from the full view) may have
        // renumbered the entries: such a page is drawn anew instead of opening another file.
        if (PageShowsEntry(id - PICK_THUMBNAIL_BASE))
            PressThumbnail(id - PICK_THUMBNAIL_BASE);
        else
            AppState.thumbnailRedraw = 1;
        return;
    }
    if (id >= PICK_LIST_BASE && id < PICK_LIST_BASE + MAX_ENTRIES && AppState.listViewOn == 1)
        PressListEntry(id - PICK_LIST_BASE);
}
