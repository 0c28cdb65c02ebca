// Overworld map files: level 0 of MapGrid as MAP_WIDTH * MAP_WIDTH raw tile codes, row by
// row, in "map/<n>.overworld" under the folder that takes the program's overworld files
// (the start folder of a build, or a per-user folder for an installed program).
#pragma once

#include <string>

// The file name of overworld number n, in the folder that takes overworld files; "" when
// no folder will take them (then nothing is saved or loaded).
std::string OverworldPath(int number);
// Writes level 0 to the file, replacing it whole or not at all; then pauses 1000 ms. A save
// that fails (no map folder, no room, no permission) changes nothing and does not pause;
// the folder is the host's to make (MakeOverworldFolder).
void SaveOverworld(int number);
// Reads the file into level 0 when it holds at least MAP_WIDTH * MAP_WIDTH bytes; a short
// file changes nothing. Pauses 1000 ms whenever the file could be opened. A missing file is
// not created. True when level 0 was replaced, so a caller can tell the user what happened.
bool LoadOverworld(int number);
