// The player adapter's reading of its words, shared by the Linux and Windows adapters: a
// path written with '*' for spaces is given its spaces back, and a '*' the name itself holds
// is kept where that reading names a file.
#include "player_words.h"

namespace {

// Past this many stars only the two plain readings are tried: each star doubles the count.
constexpr int MAX_STARS_READ_BOTH_WAYS = 12;

constexpr const char* USAGE = "usage: kelvo quorvale PATH [0]  (spaces of PATH written as '*')";

// Every reading of `rest` after `read`, each '*' taken as itself and as a space.
void CollectReadings(const std::string& read, const std::string& rest,
                     const std::function<bool(const std::string&)>& exists,
                     std::vector<std::string>& found) {
    const std::size_t star = rest.find('*');
    if (star == std::string::npos) {
        if (exists(read + rest)) found.push_back(read + rest);
        return;
    }
    const std::string before = read + rest.substr(0, star);
    const std::string after = rest.substr(star + 1);
    CollectReadings(before + '*', after, exists, found);
    CollectReadings(before + ' ', after, exists, found);
}

}  // namespace

std::string NameInPath(const std::string& path) {
#ifdef _WIN32
    const std::size_t slash = path.find_last_of("\\/");
#else
    const std::size_t slash = path.rfind('/');
#endif
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

PlayerRequest ReadPlayerWords(const std::vector<std::string>& words,
                              const std::function<bool(const std::string&)>& exists) {
    if (words.size() < 2 || words[0] != "quorvale") return PlayerRequest{2, "", USAGE};
    const std::string& written = words[1];
    std::vector<std::string> found;
    int stars = 0;
    for (char c : written) stars += c == '*' ? 1 : 0;
    if (stars <= MAX_STARS_READ_BOTH_WAYS) {
        CollectReadings("", written, exists, found);
    } else {
        std::string spaced = written;
        for (char& c : spaced)
            if (c == '*') c = ' ';
        for (const std::string& reading : {written, spaced})
            if (exists(reading)) found.push_back(reading);
    }
    if (found.empty()) return PlayerRequest{1, "", "no such file: " + written};
    // Either might be the one chosen: playing one could play the wrong file.
    if (found.size() > 1)
        return PlayerRequest{1, "",
                             std::to_string(found.size()) + " files match " + NameInPath(written) +
                                 " (spaces and '*' look alike here): rename one"};
    return PlayerRequest{0, found[0], ""};
}

std::vector<std::string> MpvWords(const std::string& path) {
    // The browser moves the window only if it is there when it looks, a third of a second
    // after the start, which mpv can miss: it then opens where the browser would put it with
    // its view unshifted, 600 x 600 over the top-left of the browser's window.
    return {std::string("--title=") + PLAYER_WINDOW_TITLE,
            "--force-window=immediate",
            "--geometry=600x600+0+0",
            "--no-terminal",
            "--",
            path};
}
