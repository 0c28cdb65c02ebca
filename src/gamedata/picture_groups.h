// The eight picture groups that start-up loads into ImageSlots, and their file lists.
#pragma once

#include <span>
#include <string>

struct PictureEntry {
    int slot;
    const char* folder;  // folder beside the program, e.g. "bmp_land"
    const char* name;    // file name without ".bmp"
};

constexpr int PICTURE_GROUP_COUNT = 8;

// Entries of group 0..7 in loading order (cross, unit, land, dungeon, structure, item,
// screen, cube); an empty list for any other number.
std::span<const PictureEntry> PictureGroupEntries(int group);

// The path of a picture file: relative to the start folder, "./bmp_land/plain.bmp" with
// this system's separator, or under DataFolder when the program's files are installed.
std::string PicturePath(const char* folder, const char* name);

void LoadCrossImages();
void LoadUnitImages();
void LoadLandImages();
void LoadDungeonImages();
void LoadStructureImages();
void LoadItemImages();
void LoadScreenImages();
void LoadCubeImages();
// The eight groups above, in their loading order.
void LoadPictureGroups();
