// Start-up, the main loop, shutdown and the message pump.
#pragma once

#include <string>

// The frame size for a screen dimension: half of it, one less where it is odd.
int HalfScreen(int size);
// Connects to the display; on failure prints why and returns 0.
int ConnectDisplay();
// 1 when `folder` can be kept in startFolder and browseFolder, 0 when it is empty (it could
// not be read) or too long.
int FolderFits(const std::string& folder);
void StartUp();
// Runs the whole program after a successful ConnectDisplay; returns the exit status.
int RunMainLoop();
// One pass of the main loop, in its fixed order.
void RunPass();
void ShutDown();
int PumpMessages();
