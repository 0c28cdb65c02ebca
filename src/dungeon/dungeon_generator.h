// The dungeon generator: runs of consecutive MapGrid levels filled with rooms joined by
// doorways, linked by stairs, and furnished with chests, candelabra, scrolls, coffins and
// fountains.
#pragma once

#include <cstdint>

// Settings and flags, read by the generator (RedrawRequest is also reset by it).
extern int DungeonStyle;            // 38: templates 0-18; 3, 5, 6: 0-28; 6 stamps CELL_FEATURE_ALT
extern int PlacementTryLimit;       // tries per object kind and level
extern int ShowGenerationProgress;  // nonzero: a message on screen before each object kind
extern int StopGeneration;          // nonzero: the level and attempt loops stop at their next test
extern std::uint8_t RedrawRequest;  // 1: clear the Framebuffer at the next attempt

extern int RoomCount;  // records the last call wrote to RoomTable, from index 0

// Generates levels firstLevel .. firstLevel + levelCount - 1, each of which must be all
// CELL_EMPTY. Every level gets a CELL_WALL start square spanning centre +- squareSize / 2, a
// first room centred in it and up to `attempts` further rooms; the levels after the first get
// squareSize / 32 + 1 pairs of stairs to the level above, and then every level its objects.
// Returns 1 when a level's start square or first room does not fit (off the map, on cells
// already used, on a level outside the grid, or with RoomTable full); the levels finished
// before it keep their rooms but get no stairs or objects. Otherwise returns
// firstLevel + levelCount, also when StopGeneration ended the run early. That success value
// is itself 1 whenever firstLevel + levelCount is 1 (first level 0 with one level, or no
// levels from level 1): such a result does not tell success from failure.
int GenerateDungeon(int centreX, int centreY, int firstLevel, int levelCount, int squareSize,
                    int attempts);

// Called with 0 every 100 room attempts; runs GenerationIdleWork when a caller set it, so a
// program can show how far a long run has come (RoomLevel is the level being grown).
void GenerationIdleHook(int stage);
extern void (*GenerationIdleWork)(int stage);  // nullptr: nothing to do
// Called after each progress message is drawn: presents the Framebuffer in the main window.
void ProgressPresentHook();
