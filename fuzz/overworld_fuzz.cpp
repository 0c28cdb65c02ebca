// Loading an overworld file of any length and content, on grids of many sizes: level 0 takes
// the file's first MAP_WIDTH x MAP_WIDTH bytes when it holds that many, a shorter file changes
// nothing, and no other level is touched. The first input byte picks the grid's side and
// whether the map name is taken by a folder instead of a file.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "quentaro.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    FuzzPlatform();
    static const std::string folder = [] {
        std::filesystem::create_directories(ScratchFolder() + "/map");
        return ScratchFolder();
    }();
    DataFolder = folder;
    MAP_WIDTH = 1 + (data[0] & 0x3F);
    LEVEL_COUNT = 2;
    const bool folderInTheWay = (data[0] & 0x40) != 0;
    const int number = data[0] >> 7;
    const std::uint8_t* file = data + 1;
    const std::size_t fileBytes = size - 1;

    std::string path = OverworldPath(number);
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
    if (folderInTheWay)
        std::filesystem::create_directory(path, ignored);
    else if (!WriteWholeFile(path, file, fileBytes))
        return 0;

    CreateGrids();
    const std::size_t level = std::size_t(MAP_WIDTH) * MAP_WIDTH;
    std::memset(MapGrid, 0xA5, level * LEVEL_COUNT);
    const bool taken = !folderInTheWay && fileBytes >= level;
    Require(LoadOverworld(number) == taken);
    for (std::size_t i = 0; i < level; ++i) Require(MapGrid[i] == (taken ? file[i] : 0xA5));
    for (std::size_t i = level; i < level * LEVEL_COUNT; ++i) Require(MapGrid[i] == 0xA5);

    // What a save writes, a load gives back.
    if (!folderInTheWay) {
        std::vector<std::uint8_t> saved(MapGrid, MapGrid + level);
        SaveOverworld(number);
        std::memset(MapGrid, 0, level);
        Require(LoadOverworld(number));
        Require(std::memcmp(saved.data(), MapGrid, level) == 0);
    }
    ReleaseWorldTables();
    return 0;
}
