// Where the program's own files are: the picture folders, the player and the folder
// map/ of overworld files. A build folder holds them beside the program; an installed
// program finds them in its data folder (PREFIX/share/quentaro beside PREFIX/bin).
#pragma once

#include <string>

// The folder of the program's files when it is not the start folder: the installed data
// folder, absolute. Empty while the start folder holds them: their paths then stay
// relative to the start folder, the current folder between operations.
extern std::string DataFolder;

// True when `folder` holds any of the program's own files: a picture folder or the player.
bool HoldsProgramFiles(const std::string& folder);
// The installed data folder of a program whose executable is in `programFolder`, when it
// holds the program's files; "" otherwise.
std::string InstalledDataFolder(const std::string& programFolder);
// Sets DataFolder for a program started in `startFolder`: the start folder wins when it
// holds any of the program's files; else the installed data folder, when there is one; else
// the program's own folder when it holds a picture folder (a build folder).
void FindDataFolder(const std::string& startFolder, const std::string& programFolder);
// The folder that holds the program's files, absolute: the start folder or DataFolder.
std::string ProgramFilesFolder();
// The folder where map/ lives, absolute: the program's files folder when its map/ (or,
// without one, the folder) is writable, otherwise the per-user folder quentaro/ under the
// user's data home, whether or not it exists yet. "" when no folder will do. Makes nothing.
std::string OverworldFolder();
// Makes map/ in OverworldFolder() when it is missing; the programs call it at start-up, as
// saving into a missing map/ fails. Nothing is made in a start folder that holds none of the
// program's files. True when map/ is there afterwards.
bool MakeOverworldFolder();
// Prints on stderr where the program's files were found and how many picture slots
// start-up filled (the --verbose report).
void ReportProgramFiles();
