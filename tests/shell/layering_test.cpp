// Operating-system headers stay inside the platform layer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

TEST(Layering, OnlyThePlatformIncludesSystemHeaders) {
    namespace fs = std::filesystem;
    const char* systemHeaders[] = {"X11/",     "GL/glx",      "windows.h", "winuser.h",
                                   "unistd.h", "dirent.h",    "sys/",      "pthread.h",
                                   "fcntl.h",  "turbojpeg.h", "png.h",     "md5.h"};
    auto includesSystemHeader = [&](const std::string& line) {
        size_t hash = line.find_first_not_of(" \t");
        if (hash == std::string::npos || line[hash] != '#' ||
            line.find("include") == std::string::npos)
            return false;
        for (const char* header : systemHeaders)
            if (line.find(std::string("<") + header) != std::string::npos ||
                line.find(std::string("\"") + header) != std::string::npos)
                return true;
        return false;
    };
    fs::path src = fs::path(QUENTARO_SOURCE_DIR) / "src";
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file()) continue;
        std::string relative = fs::relative(entry.path(), src).generic_string();
        if (relative.rfind("platform/", 0) == 0) continue;
        std::ifstream file(entry.path());
        std::string line;
        while (std::getline(file, line))
            EXPECT_FALSE(includesSystemHeader(line)) << relative << ": " << line;
        ++checked;
    }
    EXPECT_GT(checked, 10);
}
