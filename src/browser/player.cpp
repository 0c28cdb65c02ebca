// Starting the player on the selected file and placing its window (to be written).
#include "browser/player.h"

void LaunchPlayer() {}
void PlacePlayerWindow() {}
void HandlePlayClick() {}
void RunShellCommand(const char*, const char*) {}
