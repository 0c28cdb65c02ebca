// The engine's start-up: every grid and table, the pictures and the constant tables.
#pragma once

// Creates every engine table at the sizes the settings give, loads the pictures from the
// picture folders under the current folder, fills the constant tables; returns 1. Settings
// too small for the records start-up writes, or a table the system cannot provide, end the
// program with a message on standard error and status 1. Calling it again first releases
// what the previous call created.
int InitGameData();
void ReleaseGameData();  // what ShutDown releases of the engine's tables
