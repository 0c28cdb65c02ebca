// Scratch folder, platform double and tree removal shared by the harnesses.
#include "fuzz_support.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "platform/platform.h"

namespace fs = std::filesystem;

FakePlatform& FuzzPlatform() {
    static FakePlatform* fake = [] {
        auto* made = new FakePlatform;
        platform::SetSys(made);
        return made;
    }();
    fake->calls.clear();
    fake->pauses.clear();
    fake->started.clear();
    fake->messages.clear();
    return *fake;
}

namespace {

std::string scratch;

void RemoveScratch() {
    if (scratch.empty()) return;
    EmptyFolder(scratch);
    platform::SetCurrentFolder("/");
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
}

}  // namespace

const std::string& ScratchFolder() {
    if (!scratch.empty()) return scratch;
    std::error_code error;
    fs::path base =
        fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
    fs::path made = base / ("quentaro_fuzz_" + std::to_string(std::random_device{}()));
    fs::create_directories(made, error);
    if (error) {
        std::fprintf(stderr, "cannot make the scratch folder %s\n", made.c_str());
        std::abort();
    }
    scratch = made.string();
    std::atexit(RemoveScratch);
    return scratch;
}

bool WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    bool ok = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

namespace {

// Empties the current folder; every step is relative, so depth does not matter. Plain system
// calls: this runs before every input, over whatever the last one made.
void EmptyCurrentFolder() {
    std::vector<std::string> names;
    std::vector<bool> folders;
    DIR* dir = opendir(".");
    if (dir == nullptr) return;
    while (const dirent* entry = readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        bool folder = entry->d_type == DT_DIR;  // a link is removed, never followed
        struct stat info;
        if (entry->d_type == DT_UNKNOWN)
            folder = lstat(entry->d_name, &info) == 0 && S_ISDIR(info.st_mode);
        names.emplace_back(entry->d_name);
        folders.push_back(folder);
    }
    closedir(dir);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const char* name = names[i].c_str();
        if (!folders[i]) {
            unlink(name);
        } else if (rmdir(name) != 0 && chdir(name) == 0) {
            EmptyCurrentFolder();
            if (chdir("..") != 0) return;
            rmdir(name);
        }
    }
}

}  // namespace

void EmptyFolder(const std::string& folder) {
    if (!platform::SetCurrentFolder(folder.c_str())) return;
    EmptyCurrentFolder();
}
