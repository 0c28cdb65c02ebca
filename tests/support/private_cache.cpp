// The unit tests' own thumbnail cache: a program started by a test (StartUp) keeps its
// thumbnails in a folder of this process, removed when it ends, never in the user's cache.
#include <filesystem>
#include <string>

#ifndef _WIN32
#include <unistd.h>

namespace {

struct PrivateCache {
    std::string folder = "/tmp/quentaro_test_cache_" + std::to_string(getpid());
    PrivateCache() { setenv("XDG_CACHE_HOME", folder.c_str(), 1); }
    ~PrivateCache() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
} privateCache;

}  // namespace
#endif
