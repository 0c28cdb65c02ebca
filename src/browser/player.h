// The external player and the file manager.
#pragma once

// The player's contract: its program name beside ours and the title of its window.
#ifdef _WIN32
constexpr const char* PLAYER_PROGRAM = "kelvo.exe";
#else
constexpr const char* PLAYER_PROGRAM = "kelvo";
#endif
constexpr const char* PLAYER_TITLE = "Kelvo video and audio player";
constexpr int PLAYER_SIZE = 600;

// True when selectedEntry names a listed file (kind 1): what P and a second press play.
bool SelectedEntryIsFile();
void LaunchPlayer();
void PlacePlayerWindow();
void HandlePlayClick();
// 1 when the program could be started.
int RunShellCommand(const char* file, const char* parameters);
// Opens browseFolder in the desktop's file manager (the F7 key).
void OpenExplorer();
// Puts on screen why a player or file manager just started has failed, if one has;
// called once per pass of the main loop.
void ReportStartFailures();
