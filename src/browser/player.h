// The external player and the file manager.
#pragma once

void LaunchPlayer();
void PlacePlayerWindow();
void HandlePlayClick();
void RunShellCommand(const char* file, const char* parameters);
