// The path finder's open set, for the search loop: the node to expand next is the open node
// of lowest cost; among equal costs the one created last in linear mode, the one added first
// in queue mode (each cost a first-in first-out bucket).
#pragma once

#include "world/path_finder.h"

// Adds `node` with its current cost; in queue mode a node of a new cost is left out while
// BUCKET_COUNT distinct costs are queued. False when it was left out.
bool OpenSetAdd(PathFinderRecord& finder, int node);
int OpenSetTake(PathFinderRecord& finder);  // -1 when empty
void OpenSetClear(PathFinderRecord& finder);
