// A fixture with the engine's grids, unit table and dungeon tables at the default settings,
// a fake platform, a frame, and the generator's settings and flags at their start values.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "quentaro.h"
#include "support/fake_platform.h"

class DungeonTest : public ::testing::Test {
  protected:
    FakePlatform fake;

    void SetUp() override {
        AppState = AppStateRecord{};
        ResizeFrame(320, 240);
        CreateTables();
        DungeonStyle = 38;
        PlacementTryLimit = 1000000;
        ShowGenerationProgress = StopGeneration = 0;
        RedrawRequest = 0;
    }
    void TearDown() override {
        ReleaseTables();
        ReleaseFrameBuffers();
        LEVEL_COUNT = 180;
        ROOM_CAPACITY = LEVEL_COUNT * 6000;
        ROOM_TEMPLATE_STRIDE = 30;
    }

    static void CreateTables() {
        CreateGrids();
        CreateUnitTable();
        CreateDungeonTables();
    }
    static void ReleaseTables() {
        ReleaseDungeonTables();
        ReleaseWorldTables();
    }
    // Fresh, zeroed tables at changed settings.
    static void Recreate(int levelCount, int roomCapacity) {
        ReleaseTables();
        LEVEL_COUNT = levelCount;
        ROOM_CAPACITY = roomCapacity;
        CreateTables();
    }

    static std::uint8_t& At(int x, int y, int level) { return MapGrid[CellIndex(x, y, level)]; }
    static const std::uint8_t* Level(int level) { return MapGrid + CellIndex(0, 0, level); }
    static std::string LevelBytes(int level) {
        return std::string(reinterpret_cast<const char*>(Level(level)),
                           std::size_t(MAP_WIDTH) * MAP_WIDTH);
    }
    static int Count(int level, int code) {
        int n = 0;
        for (int i = 0; i < MAP_WIDTH * MAP_WIDTH; ++i) n += Level(level)[i] == code;
        return n;
    }
    static void ClearLevel(int level) {
        std::memset(MapGrid + CellIndex(0, 0, level), 0, std::size_t(MAP_WIDTH) * MAP_WIDTH);
    }
};
