// The engine's start-up: every grid and table, the pictures and the constant tables.
#pragma once

void InitGameData();
void ReleaseGameData();  // what ShutDown releases of the engine's tables
