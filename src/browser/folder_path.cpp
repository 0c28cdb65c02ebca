// The path rules of the browser's folder moves. Pure functions of the path and the
// separator, so the same rules hold for "C:\music\" and "/home/music/".
#include "browser/folder_path.h"

namespace {

// Length of the root a path cannot go above: "/" or "C:\".
std::size_t RootLength(char separator) {
    return separator == '/' ? 1 : 3;
}

}  // namespace

std::string FolderUp(const std::string& folder, char separator) {
    std::string up = folder;
    if (up.size() <= RootLength(separator)) return up;
    up.pop_back();
    while (up.size() > RootLength(separator) - 1 && up.back() != separator) up.pop_back();
    return up;
}

std::string FolderDown(const std::string& folder, const std::string& name, char separator) {
    std::string base = folder;
    if (!base.empty() && base.back() == separator) base.pop_back();
    return base + separator + name + separator;
}
