// The unit tests' own thumbnail cache: a program started by a test (StartUp) keeps its
// thumbnails in a folder of this process, removed when it ends, never in the user's cache.
#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

#ifndef _WIN32
struct PrivateCache {
    std::filesystem::path folder;
    PrivateCache() {
        folder = std::filesystem::temp_directory_path() /
                 ("quentaro_test_cache_" + std::to_string(getpid()));
        setenv("XDG_CACHE_HOME", folder.c_str(), 1);
    }
    ~PrivateCache() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
} privateCache;
#endif

}  // namespace
