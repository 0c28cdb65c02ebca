// Saving and loading the overworld (level 0 of MapGrid) as numbered raw files, for the
// console's save and load commands.
#include "world/overworld_file.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "gamedata/engine_settings.h"
#include "platform/platform.h"
#include "shell/data_folder.h"
#include "world/world_tables.h"

namespace {

constexpr int TRANSFER_PAUSE_MS = 1000;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::size_t LevelBytes() {
    return std::size_t(MAP_WIDTH) * std::size_t(MAP_WIDTH);
}

}  // namespace

std::string OverworldPath(int number) {
    const char sep = platform::PathSeparator();
    std::string folder = OverworldFolder();
    // No folder will take the files: not the working folder either, which may be anywhere.
    if (folder.empty()) return "";
    return folder + sep + "map" + sep + std::to_string(number) + ".overworld";
}

void SaveOverworld(int number) {
    if (MapGrid == nullptr) return;
    std::string path = OverworldPath(number);
    if (path.empty()) return;
    if (!platform::ReplaceFileContents(path.c_str(), MapGrid, LevelBytes())) return;
    platform::Sys().Pause(TRANSFER_PAUSE_MS);
}

bool LoadOverworld(int number) {
    if (MapGrid == nullptr) return false;
    std::string path = OverworldPath(number);
    // Only plain files: a pipe of that name could keep the read waiting forever.
    if (!platform::IsPlainFile(path.c_str())) return false;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return false;
    std::vector<std::uint8_t> level(LevelBytes());
    bool whole = std::fread(level.data(), 1, level.size(), file.get()) == level.size();
    file.reset();
    if (whole) std::copy(level.begin(), level.end(), MapGrid);
    platform::Sys().Pause(TRANSFER_PAUSE_MS);
    return whole;
}
