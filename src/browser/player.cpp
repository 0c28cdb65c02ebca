// Starting the external player on the selected file, placing its window over ours, and
// opening the browsed folder in the file manager. Used by the key bindings and by the
// main loop's right-press handling of the list view.
#include "browser/player.h"

#include <string>

#include "browser/entry_table.h"
#include "platform/platform.h"
#include "shell/app_state.h"
#include "shell/data_folder.h"
#include "shell/frame_buffers.h"
#include "shell/input_hooks.h"
#include "shell/notice.h"

using platform::Sys;

bool SelectedEntryIsFile() {
    int n = AppState.selectedEntry;
    return n >= 1 && n <= EntryTable.count && n < MAX_ENTRIES && EntryTable.kinds != nullptr &&
           EntryTable.kinds[n] == 1;
}

void LaunchPlayer() {
    platform::SetCurrentFolder(AppState.startFolder);
    const char separator = platform::PathSeparator();
    // The separator is added even when browseFolder already ends with one (after a folder
    // move); the player has always been given the doubled separator and copes with it.
    std::string target =
        std::string(AppState.browseFolder) + separator + EntryTable.names[AppState.selectedEntry];
    // The player receives its parameters as words split at spaces.
    for (char& c : target)
        if (c == ' ') c = '*';
    // The player lives with the pictures: beside the program or in its installed data folder.
    std::string home = DataFolder.empty() ? std::string(AppState.startFolder) : DataFolder;
    std::string executable = home + separator + PLAYER_PROGRAM;
    std::string parameters = " quorvale " + target + " " + std::to_string(0) + " ";
    if (!RunShellCommand(executable.c_str(), parameters.c_str()))
        ReportFailure("no player for %s: %s cannot be started",
                      EntryTable.names[AppState.selectedEntry], executable.c_str());
    platform::SetCurrentFolder(AppState.startFolder);
    Sys().Pause(340);
}

void PlacePlayerWindow() {
    platform::WindowHandle player = Sys().FindWindowByTitle(PLAYER_TITLE);
    const AppStateRecord& s = AppState;
    int y = -s.viewOffsetY * s.pixelScale;
    if (s.frameWidth == 1280) {
        // The 1280 mode may hang below the screen: keep the player above the bottom edge.
        if (y + s.windowY + PLAYER_SIZE > s.screenHeight)
            y = s.screenHeight - s.windowY - PLAYER_SIZE;
    } else if (y + PLAYER_SIZE > s.frameHeight * s.pixelScale) {
        y = s.frameHeight * s.pixelScale - PLAYER_SIZE;
    }
    if (player == 0) return;  // not up yet: the player keeps its own place
    Sys().MoveWindow(player, (s.viewOffsetX + s.windowX) * s.pixelScale, y + s.windowY, PLAYER_SIZE,
                     PLAYER_SIZE);
}

void HandlePlayClick() {
    if (MouseState.rightPress != 1 || AppState.listViewOn != 1 || !SelectedEntryIsFile()) return;
    int id = PickBuffer[CursorRow() * AppState.frameWidth + CursorColumn()];
    if (id != PICK_LIST_BASE + AppState.selectedEntry) return;
    LaunchPlayer();
    PlacePlayerWindow();
    MouseState.rightPress = 0;
}

int RunShellCommand(const char* file, const char* parameters) {
    return Sys().StartProgram(file, parameters) ? 1 : 0;
}

void OpenExplorer() {
    if (!Sys().OpenFolderInFileManager(AppState.browseFolder))
        ReportFailure("no file manager found to open %s", AppState.browseFolder);
}

void ReportStartFailures() {
    std::string message;
    // The program has said it on standard error itself; the screen gets its words.
    while (Sys().TakeStartedProgramFailure(message)) ShowNotice("%s", message.c_str());
}
