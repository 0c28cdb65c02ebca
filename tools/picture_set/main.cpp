// Writes the default picture set beside the built program: every file the picture groups
// name, drawn from shapes and a palette per kind, plus the empty folder for overworld
// maps. Run by the build; the one argument is the folder to fill. With --icons it draws
// the programs' desktop icons instead.
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "art.h"
#include "gamedata/picture_groups.h"

namespace {

void Draw(const std::string& folder, const std::string& name, Canvas& c) {
    if (folder == "bmp_cross") return DrawCross(name, c);
    if (folder == "bmp_unit") return DrawUnit(name, c);
    if (folder == "bmp_land") return DrawLand(name, c);
    if (folder == "bmp_dungeon") return DrawDungeon(name, c);
    if (folder == "bmp_structure") return DrawStructure(name, c);
    if (folder == "bmp_item") return DrawItem(name, c);
    if (folder == "bmp_scr") return DrawTitle(name, c);
    return DrawCube(name, c);
}

int SideOf(const std::string& folder, int& height) {
    if (folder == "bmp_scr") return height = 240, 320;
    if (folder == "bmp_cube") return height = 64, 64;
    return height = 16, 16;
}

// The programs' icons as FOLDER/<size>/<program>.png, drawn at 64 x 64 and enlarged.
int WriteIcons(const std::filesystem::path& folder) {
    for (const char* program : {"quentaro", "korvis"}) {
        Canvas icon(64, 64);
        DrawProgramIcon(program, icon);
        for (int factor : {1, 4}) {
            std::filesystem::path size = folder / std::to_string(64 * factor);
            std::error_code error;
            std::filesystem::create_directories(size, error);
            std::filesystem::path file = size / (std::string(program) + ".png");
            if (!icon.Enlarged(factor).WritePng(file.string())) {
                std::fprintf(stderr, "picture_set: cannot write %s\n", file.string().c_str());
                return 1;
            }
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--icons") return WriteIcons(argv[2]);
    if (argc != 2) {
        std::fprintf(stderr, "usage: picture_set OUTPUT_FOLDER | picture_set --icons FOLDER\n");
        return 2;
    }
    namespace fs = std::filesystem;
    fs::path root = argv[1];
    std::error_code error;
    fs::create_directories(root / "map", error);
    std::set<fs::path> written;
    for (int group = 0; group < PICTURE_GROUP_COUNT; ++group) {
        for (const PictureEntry& entry : PictureGroupEntries(group)) {
            fs::path file = root / entry.folder / (std::string(entry.name) + ".bmp");
            if (!written.insert(file).second) continue;  // loaded into two slots, drawn once
            fs::create_directories(file.parent_path(), error);
            int height = 0;
            int width = SideOf(entry.folder, height);
            Canvas canvas(width, height);
            Draw(entry.folder, entry.name, canvas);
            if (!canvas.WriteBmp(file.string())) {
                std::fprintf(stderr, "picture_set: cannot write %s\n", file.string().c_str());
                return 1;
            }
        }
    }
    std::printf("picture_set: %zu pictures in %s\n", written.size(), root.string().c_str());
    return 0;
}
