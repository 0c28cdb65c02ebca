// kelvo for Linux: the player the browser starts beside itself, an adapter over mpv. It is
// called as "kelvo quorvale PATH 0" and becomes mpv on the file PATH names; what goes wrong
// is one line on standard error, which the browser shows when the player ends at once.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "player_words.h"

namespace {

// The first executable file named `name` in the folders of PATH, or "" (as the shell looks).
std::string FindOnPath(const char* name) {
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        std::string folder = folders.substr(start, end - start);
        std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        struct stat info;
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return "";
}

int Say(int status, const std::string& message) {
    std::fprintf(stderr, "kelvo: %s\n", message.c_str());
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    const PlayerRequest request = ReadPlayerWords(
        words, [](const std::string& path) { return access(path.c_str(), F_OK) == 0; });
    if (request.status != 0) return Say(request.status, request.message);
    const std::string mpv = FindOnPath("mpv");
    if (mpv.empty()) return Say(1, "no player for " + NameInPath(request.path) + ": install mpv");
    std::vector<std::string> mpvWords = MpvWords(request.path);
    std::vector<char*> arguments{const_cast<char*>("mpv")};
    for (std::string& word : mpvWords) arguments.push_back(word.data());
    arguments.push_back(nullptr);
    execv(mpv.c_str(), arguments.data());
    return Say(126, "cannot start " + mpv + ": " + std::strerror(errno));
}
