// The cost of entering a cell, by its MapGrid code, that path finding adds per step.
#pragma once

extern float TerrainCost[256];

void FillTerrainCost();
