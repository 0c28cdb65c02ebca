// Scratch folder, platform double and tree removal shared by the harnesses.
#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
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

// Empties the current folder; every step is relative, so depth does not matter.
void EmptyCurrentFolder() {
    std::vector<fs::path> names;
    std::error_code error;
    for (fs::directory_iterator it(".", error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename());
    for (const fs::path& name : names) {
        std::error_code ignored;
        fs::permissions(name, fs::perms::owner_all, fs::perm_options::add, ignored);
        if (fs::is_directory(fs::symlink_status(name, ignored))) {
            if (!platform::SetCurrentFolder(name.c_str())) continue;
            EmptyCurrentFolder();
            platform::SetCurrentFolder("..");
        }
        fs::remove(name, ignored);
    }
}

}  // namespace

void EmptyFolder(const std::string& folder) {
    if (!platform::SetCurrentFolder(folder.c_str())) return;
    EmptyCurrentFolder();
}
