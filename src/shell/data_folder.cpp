// Finding the program's own files at start-up: the start folder when it holds them (a
// build folder, or any folder a user filled), else the data folder installed beside the
// executable. Start-up calls FindDataFolder; the picture loader, the player launch and
// the overworld files read the answer.
#include "shell/data_folder.h"

#include <cstdio>

#include "browser/player.h"
#include "gamedata/image_slots.h"
#include "gamedata/picture_groups.h"
#include "platform/platform.h"

#ifndef QUENTARO_DATA_FROM_PROGRAM
#define QUENTARO_DATA_FROM_PROGRAM "../share/quentaro"
#endif

std::string DataFolder;

namespace {

std::string Join(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == platform::PathSeparator()) return folder + name;
    return folder + platform::PathSeparator() + name;
}

// Names go to the system as they are, in its own encoding, as the folder names came from it.
bool IsFolder(const std::string& path) {
    return platform::IsFolder(path.c_str());
}

bool IsFile(const std::string& path) {
    return platform::IsPlainFile(path.c_str());
}

// Overworld files go into map/ of a folder: it will do when map/ takes new files, or,
// where map/ does not exist yet, the folder itself.
bool TakesOverworldFiles(const std::string& folder) {
    if (folder.empty()) return false;
    std::string map = Join(folder, "map");
    std::uint32_t attributes = 0;
    if (platform::FileAttributes(map.c_str(), attributes))
        return platform::FolderWritable(map.c_str());
    return platform::FolderWritable(folder.c_str());
}

}  // namespace

namespace {

bool HoldsPictureFolder(const std::string& folder) {
    std::string checked;
    for (int group = 0; group < PICTURE_GROUP_COUNT; ++group)
        for (const PictureEntry& entry : PictureGroupEntries(group)) {
            if (checked == entry.folder) continue;
            checked = entry.folder;
            if (IsFolder(Join(folder, checked))) return true;
        }
    return false;
}

}  // namespace

bool HoldsProgramFiles(const std::string& folder) {
    if (folder.empty()) return false;
    return IsFile(Join(folder, PLAYER_PROGRAM)) || HoldsPictureFolder(folder);
}

std::string InstalledDataFolder(const std::string& programFolder) {
    if (programFolder.empty()) return "";
    std::string installed =
        platform::FullPath(Join(programFolder, QUENTARO_DATA_FROM_PROGRAM).c_str());
    return HoldsProgramFiles(installed) ? installed : "";
}

void FindDataFolder(const std::string& startFolder, const std::string& programFolder) {
    DataFolder.clear();
    if (HoldsProgramFiles(startFolder)) return;
    DataFolder = InstalledDataFolder(programFolder);
    if (!DataFolder.empty() || programFolder.empty()) return;
    // A build folder's program started from elsewhere has its pictures beside it. A player
    // alone does not count here: an installed program's bin/ may hold anything of that name.
    std::string beside = platform::FullPath(programFolder.c_str());
    if (HoldsPictureFolder(beside)) DataFolder = beside;
}

std::string ProgramFilesFolder() {
    return DataFolder.empty() ? platform::CurrentFolder() : DataFolder;
}

std::string OverworldFolder() {
    std::string files = ProgramFilesFolder();
    if (TakesOverworldFiles(files)) return files;
    std::string home = platform::UserDataHome();
    if (home.empty()) return "";
    // Not made here, so that a load leaves no trace: MakeOverworldFolder makes it.
    std::string own = Join(home, "quentaro");
    std::uint32_t attributes = 0;
    const bool there = platform::FileAttributes(own.c_str(), attributes);
    return !there || TakesOverworldFiles(own) ? own : "";
}

bool MakeOverworldFolder() {
    std::string folder = OverworldFolder();
    // A start folder that holds none of the program's files is the user's, not the program's.
    if (folder.empty() || (folder == ProgramFilesFolder() && !HoldsProgramFiles(folder)))
        return false;
    std::string map = Join(folder, "map");
    return platform::MakeFolders(map.c_str());
}

void ReportProgramFiles() {
    std::fprintf(stderr, "quentaro: program files in %s%s\n", ProgramFilesFolder().c_str(),
                 DataFolder.empty() ? " (the start folder)" : "");
    std::fprintf(stderr, "quentaro: %d picture slots loaded\n", LoadedSlotCount());
    std::string overworld = OverworldFolder();
    std::fprintf(stderr, "quentaro: overworld files in %s\n",
                 overworld.empty() ? "no writable folder" : Join(overworld, "map").c_str());
}
