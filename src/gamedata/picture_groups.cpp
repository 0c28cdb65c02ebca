// Loading the picture groups into their slots at start-up, from the start folder or the
// installed data folder; the lists themselves are in picture_lists.cpp.
#include "gamedata/picture_groups.h"

#include "gamedata/image_slots.h"
#include "platform/platform.h"
#include "shell/data_folder.h"

namespace {

void LoadGroup(std::span<const PictureEntry> entries) {
    // A picture that fails leaves its slot empty; start-up goes on without it.
    for (const PictureEntry& entry : entries)
        LoadBitmap(PicturePath(entry.folder, entry.name).c_str(), entry.slot);
}

}  // namespace

std::string PicturePath(const char* folder, const char* name) {
    const char separator = platform::PathSeparator();
    // In the start folder the path stays relative, as the picture folders sit beside it.
    std::string base = DataFolder.empty() ? std::string(".") : DataFolder;
    return base + separator + folder + separator + name + ".bmp";
}

void LoadCrossImages() {
    LoadGroup(PictureGroupEntries(0));
}
void LoadUnitImages() {
    LoadGroup(PictureGroupEntries(1));
}
void LoadLandImages() {
    LoadGroup(PictureGroupEntries(2));
}
void LoadDungeonImages() {
    LoadGroup(PictureGroupEntries(3));
}
void LoadStructureImages() {
    LoadGroup(PictureGroupEntries(4));
}
void LoadItemImages() {
    LoadGroup(PictureGroupEntries(5));
}
void LoadScreenImages() {
    LoadGroup(PictureGroupEntries(6));
}
void LoadCubeImages() {
    LoadGroup(PictureGroupEntries(7));
}

void LoadPictureGroups() {
    LoadCrossImages();
    LoadUnitImages();
    LoadLandImages();
    LoadDungeonImages();
    LoadStructureImages();
    LoadItemImages();
    LoadScreenImages();
    LoadCubeImages();
}
