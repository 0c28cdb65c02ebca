// The engine tables the world's tests work on, made the way start-up makes them but without
// pictures, a window or frame buffers; every setting back at its default afterwards.
#pragma once

#include <gtest/gtest.h>

#include "quentaro.h"

class WorldTest : public ::testing::Test {
  protected:
    void SetUp() override { MakeTables(); }
    void TearDown() override {
        ReleaseTables();
        MAP_WIDTH = 256;
        LEVEL_COUNT = 180;
        UNIT_CAPACITY = 3000;
        ITEM_CAPACITY = 230000;
        KINGDOM_COUNT = 3;
    }

    // Tables at the current settings; call again after changing one.
    void MakeTables() {
        ReleaseTables();
        CreateGrids();
        CreateUnitTable();
        CreateItemTable();
        BuildItemTemplates();
        FillTerrainCost();
        PathFinder = CreatePathFinder();
    }
    void ReleaseTables() {
        ReleasePathFinder(PathFinder);
        PathFinder = nullptr;
        ReleaseItemTable();
        ReleaseWorldTables();
    }

    static std::uint8_t& Tile(int x, int y, int level = 0) {
        return MapGrid[CellIndex(x, y, level)];
    }
    // Fills the square (x0, y0)..(x1, y1) of `level` with `tile`.
    static void Fill(int x0, int y0, int x1, int y1, int tile, int level = 0) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) Tile(x, y, level) = std::uint8_t(tile);
    }
};
