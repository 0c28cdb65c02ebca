// Engine start-up from the default picture set: the tables, their fixed records and the
// pictures in their slots; start-up without a picture folder; settings it cannot honour.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>

#include "quentaro.h"

namespace fs = std::filesystem;

namespace {

// Start-up runs with the current folder where the picture folders are expected.
class GameData : public ::testing::Test {
  protected:
    std::string previousFolder;

    void SetUp() override {
        previousFolder = platform::CurrentFolder();
        AppState = AppStateRecord{};
        AppState.frameWidth = 64;
        AppState.frameHeight = 48;
    }
    void TearDown() override {
        ReleaseGameData();
        ReleaseFrameBuffers();
        platform::SetCurrentFolder(previousFolder.c_str());
    }
    void StartIn(const fs::path& folder) {
        ASSERT_TRUE(platform::SetCurrentFolder(folder.string().c_str()));
        ASSERT_EQ(InitGameData(), 1);
    }
};

bool IsSprite(const std::string& folder) {
    return folder == "bmp_unit" || folder == "bmp_item" || folder == "bmp_structure" ||
           folder == "bmp_cross";
}

TEST_F(GameData, StartingItemsAndTemplates) {
    StartIn(QUENTARO_BINARY_DIR);
    const ItemRecord& dagger = ItemTable[6110];
    const ItemRecord& first = ItemTable[10000];
    EXPECT_EQ(first.templateId, 6110);
    EXPECT_EQ(first.picture, 600);
    EXPECT_EQ(first.condition, 1.0f);
    EXPECT_EQ(first.worth, 50);
    EXPECT_EQ(dagger.condition, 0.0f);  // templates themselves are not made by CopyItem
    const int starting[4] = {6110, 6111, 6200, 6316};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ItemTable[9000 + i].templateId, starting[i]);
        EXPECT_EQ(ItemTable[9000 + i].condition, float(ItemTable[starting[i]].grade));
    }
    EXPECT_EQ(ItemTable[9001].picture, 601);  // "Knife" carries the dagger picture
    EXPECT_EQ(ItemTable[6320].worth, 60000);
    EXPECT_EQ(ItemTable[6320].grade, 14);
    EXPECT_EQ(ItemTable[6320].factor, 4.0f);
    EXPECT_EQ(ItemTable[7100].grade, 200);
    EXPECT_EQ(ItemTable[7100].picture, 682);
    EXPECT_EQ(ItemTable[7000].picture, 3000);
    EXPECT_EQ(ItemTable[6113].factor, 0.2f);

    // Armour: eight materials of fourteen pieces, nothing between them.
    const int bases[8] = {8100, 8130, 8170, 8200, 8220, 8250, 8280, 8320};
    const float factors[8] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.9f};
    int templates = 0;
    for (int t = 6100; t < 8400; ++t) templates += ItemTable[t].picture != 0;
    EXPECT_EQ(templates, 29 + 2 + 8 * 14);
    for (int m = 0; m < 8; ++m)
        for (int p = 0; p < 14; ++p) {
            const ItemRecord& r = ItemTable[bases[m] + p];
            EXPECT_EQ(r.templateId, bases[m] + p);
            EXPECT_EQ(r.itemKind, 10 + p);
            EXPECT_EQ(r.factor, factors[m]);
            EXPECT_EQ(r.isWeapon, 0);
            EXPECT_EQ(std::memcmp(r.traits, "\1\1\1\1\1", 5), 0);
        }
    EXPECT_EQ(ItemTable[8333].picture, 746);
    EXPECT_EQ(ItemTable[8334].picture, 0);
    EXPECT_EQ(ItemTable[0].picture, 0);
    EXPECT_EQ(ItemTable[10001].picture, 0);

    ItemTable[10001].grade = 9;  // CopyItem carries everything and resets the condition
    ItemTable[10001].condition = 0.5f;
    CopyItem(10002, 10001);
    EXPECT_EQ(ItemTable[10002].condition, 9.0f);
    CopyItem(ITEM_CAPACITY, 6110);  // outside the table: ignored
    CopyItem(10003, -1);
    EXPECT_EQ(ItemTable[10003].picture, 0);
}

TEST_F(GameData, TerrainCostsWorldCellsAndTheOtherTables) {
    StartIn(QUENTARO_BINARY_DIR);
    EXPECT_EQ(TerrainCost[22], 1.0f);
    EXPECT_EQ(TerrainCost[61], 3000.0f);
    EXPECT_EQ(TerrainCost[0], 3.0f);
    EXPECT_EQ(TerrainCost[255], 3.0f);
    EXPECT_EQ(TerrainCost[60], 3.0f);
    EXPECT_EQ(TerrainCost[19], 548.0f);
    EXPECT_EQ(TerrainCost[184], 180.0f);
    EXPECT_EQ(TerrainCost[185], 3.0f);

    EXPECT_EQ(MapGrid[CellIndex(0, 0, 0)], 0);
    EXPECT_EQ(MapGrid[CellIndex(1, 0, 0)], 1);
    EXPECT_EQ(MapGrid[CellIndex(2, 0, 0)], 0);
    EXPECT_EQ(MapGrid[CellIndex(3, 0, 0)], 1);
    EXPECT_EQ(MapGrid[CellIndex(4, 0, 0)], 0);
    EXPECT_EQ(UnitTable[1].sceneX, 0.5f);
    EXPECT_EQ(UnitTable[1].sceneY, 0.5f);
    EXPECT_EQ(UnitTable[1].sceneZ, 0.5f);
    EXPECT_EQ(UnitTable[0].sceneX, 0.0f);

    // Every table reaches its last record (the address checker sees any shortfall).
    long long cells = 256LL * 256 * 180;
    MapGrid[cells - 1] = 7;
    MarkGrid[cells - 1] = 7;
    HeightMap[257 * 257 - 1] = 7;
    UnitTable[UNIT_CAPACITY - 1].walkPhase = 1.0f;
    ItemTable[ITEM_CAPACITY - 1].worth = 1;
    RoomTable[ROOM_CAPACITY - 1].roomTemplate = 255;
    EXPECT_EQ(ROOM_CAPACITY, 1080000);
    RoomMask[30 * 30 - 1] = 3;
    LevelFirstRoom[LEVEL_COUNT] = LevelEndRoom[LEVEL_COUNT] = 1;
    EXPECT_EQ(RoomTable[0].roomTemplate, 0);

    ASSERT_NE(PathFinder, nullptr);
    EXPECT_EQ(PathFinder->ready, 0);
    EXPECT_EQ(PathFinder->directionClass, 0u);
    EXPECT_EQ(PathFinder->stepDX[0], 0);
    EXPECT_EQ(PathFinder->stepDY[0], 1);
    EXPECT_EQ(PathFinder->stepCost[1], 1.4142f);
    EXPECT_EQ(PathFinder->stepCost[2], 1.0f);
    for (int u = 0; u < UNIT_CAPACITY; ++u) ASSERT_EQ(PathFinder->pathIndex[u], NO_PATH);
    PathFinder->pathX[UNIT_CAPACITY * PATH_ROW - 1] = 1;
    PathFinder->openHeap[256 * 256 - 1] = 1;
    PathFinder->costCounts[COST_TABLE_SLOTS - 1].count = 1;

    EXPECT_EQ(CommandLength, 0);
    EXPECT_STREQ(CommandLine, "");
    for (char* token : CommandTokens) {
        ASSERT_NE(token, nullptr);
        EXPECT_STREQ(token, "");
        token[COMMAND_TOKEN_BYTES - 1] = 'x';
    }
    EXPECT_NE(SinTable, nullptr);
    EXPECT_NE(Framebuffer, nullptr);
}

TEST_F(GameData, EveryGroupSlotHoldsItsPictureFromTheDefaultSet) {
    StartIn(QUENTARO_BINARY_DIR);
    std::set<int> slots;
    for (int group = 0; group < PICTURE_GROUP_COUNT; ++group)
        for (const PictureEntry& e : PictureGroupEntries(group)) {
            EXPECT_TRUE(slots.insert(e.slot).second) << "slot loaded twice: " << e.slot;
            const ImageSlot& s = ImageSlots[e.slot];
            ASSERT_NE(s.pixels, nullptr) << e.folder << "/" << e.name;
            EXPECT_EQ(s.channels, 3);
            std::string folder = e.folder;
            int width = folder == "bmp_scr" ? 320 : folder == "bmp_cube" ? 64 : 16;
            int height = folder == "bmp_scr" ? 240 : width;
            EXPECT_EQ(s.width, width) << e.name;
            EXPECT_EQ(s.height, height) << e.name;
            if (IsSprite(folder) && std::string(e.name) != "blank") {
                // Keyed drawing skips black: the sprite stands on black and is not black.
                int black = 0, pixels = s.width * s.height;
                for (int i = 0; i < pixels * 3; i += 3)
                    black += (s.pixels[i] | s.pixels[i + 1] | s.pixels[i + 2]) == 0;
                EXPECT_GE(black, pixels / 4) << e.name;
                bool drawn = black < pixels;
                EXPECT_TRUE(drawn) << e.name;
            }
        }
    EXPECT_EQ(slots.size(), 214u);
    // The scene's seven textures: square, as the texture upload requires.
    for (int slot = 1200; slot <= 1206; ++slot) {
        EXPECT_NE(ImageSlots[slot].pixels, nullptr);
        EXPECT_EQ(ImageSlots[slot].width, ImageSlots[slot].height);
    }
    EXPECT_EQ(ImageSlots[1].pixels, nullptr);  // never loaded: stays empty
}

TEST_F(GameData, PicturesOfDifferentFilesDiffer) {
    StartIn(QUENTARO_BINARY_DIR);
    std::set<std::string> files;
    std::set<std::string> contents;
    for (int group = 0; group < PICTURE_GROUP_COUNT; ++group)
        for (const PictureEntry& e : PictureGroupEntries(group)) {
            if (!files.insert(std::string(e.folder) + "/" + e.name).second) continue;
            const ImageSlot& s = ImageSlots[e.slot];
            ASSERT_NE(s.pixels, nullptr);
            contents.insert(std::string(reinterpret_cast<const char*>(s.pixels),
                                        std::size_t(s.width) * s.height * 3));
        }
    EXPECT_EQ(files.size(), 198u);
    EXPECT_EQ(contents.size(), files.size());
}

TEST_F(GameData, MissingPictureFolderLeavesItsSlotsEmptyAndWritesNothing) {
    fs::path folder = fs::temp_directory_path() / "quentaro_no_land";
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const char* copied : {"bmp_unit", "bmp_dungeon"})
        fs::copy(fs::path(QUENTARO_BINARY_DIR) / copied, folder / copied);
    auto listing = [&] {
        std::set<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            names.insert(entry.path().string());
        return names;
    };
    std::set<std::string> before = listing();
    StartIn(folder);
    EXPECT_EQ(listing(), before);
    EXPECT_EQ(ImageSlots[10].pixels, nullptr);     // bmp_land/plain
    EXPECT_EQ(ImageSlots[1104].pixels, nullptr);   // bmp_cross/cross4
    EXPECT_NE(ImageSlots[801].pixels, nullptr);    // bmp_unit/unit_giant_rat
    EXPECT_NE(ImageSlots[1210].pixels, nullptr);   // a scene texture from bmp_unit
    EXPECT_NE(ImageSlots[111].pixels, nullptr);    // bmp_dungeon/wall
    EXPECT_EQ(ItemTable[10000].templateId, 6110);  // the rest of start-up went on
    platform::SetCurrentFolder(previousFolder.c_str());
    fs::remove_all(folder);
}

TEST_F(GameData, StartingAgainBeginsFromFreshTables) {
    StartIn(QUENTARO_BINARY_DIR);
    MapGrid[CellIndex(9, 9, 3)] = 61;
    UnitTable[5].inUse = 1;
    PathFinder->pathIndex[5] = 3;
    std::strcpy(CommandTokens[0], "go");
    ASSERT_EQ(InitGameData(), 1);
    EXPECT_EQ(MapGrid[CellIndex(9, 9, 3)], 0);
    EXPECT_EQ(UnitTable[5].inUse, 0);
    EXPECT_EQ(PathFinder->pathIndex[5], NO_PATH);
    EXPECT_STREQ(CommandTokens[0], "");
    ReleaseGameData();
    EXPECT_EQ(MapGrid, nullptr);
    EXPECT_EQ(ImageSlots, nullptr);
    EXPECT_EQ(PathFinder, nullptr);
    EXPECT_EQ(CommandTokens[0], nullptr);
    EXPECT_EQ(SinTable, nullptr);
}

using GameDataDeathTest = GameData;

TEST_F(GameDataDeathTest, TablesThatCannotBeMadeStopWithAMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(CreateTable("map grid", -1, 1), ::testing::ExitedWithCode(1),
                "quentaro: cannot create the map grid");
    EXPECT_EXIT(CreateTable("unit table", 1LL << 62, 64), ::testing::ExitedWithCode(1),
                "cannot create the unit table");
    EXPECT_EXIT(
        {
            ITEM_CAPACITY = 9000;
            InitGameData();
        },
        ::testing::ExitedWithCode(1), "ITEM_CAPACITY is 9000");
    EXPECT_EXIT(
        {
            MAP_WIDTH = 3;
            InitGameData();
        },
        ::testing::ExitedWithCode(1), "MAP_WIDTH is 3");
}

}  // namespace
