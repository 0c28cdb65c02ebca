// Other programs and their windows on Linux: starting a program with its parameters
// as argument words (never through a shell, so no file name is ever interpreted),
// opening a folder with the desktop's opener, and finding and moving another client's
// top-level window by its exact title. Used by the browser's player and F7 key.
#include <X11/Xatom.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/x11/x11_platform.h"

namespace platform {

namespace {

constexpr const char* FOLDER_OPENER = "xdg-open";

std::vector<std::string> SplitWords(const char* parameters) {
    std::vector<std::string> words;
    std::string word;
    for (const char* p = parameters; *p; ++p) {
        if (*p == ' ') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += *p;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

bool IsExecutableFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

// A name without a '/' is looked up through PATH, as a shell would; "" when not found.
std::string FindProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) return name;
    const char* path = std::getenv("PATH");
    std::string folders = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        std::string folder = folders.substr(start, end - start);
        std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
        if (IsExecutableFile(candidate)) return candidate;
        start = end + 1;
    }
    return "";
}

bool HasTitle(Display* display, Window window, const char* title) {
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data) {
        bool same = std::string(reinterpret_cast<char*>(data), count) == title;
        XFree(data);
        return same;
    }
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        bool same = std::string(name) == title;
        XFree(name);
        return same;
    }
    return false;
}

// Depth-first from the top of the stacking order; a window manager's frame puts the
// client one or two levels below the root.
Window FindTitled(Display* display, Window parent, const char* title, int depth) {
    Window root, grandparent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &grandparent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = count; i-- > 0 && found == 0;) {
        if (HasTitle(display, children[i], title))
            found = children[i];
        else if (depth > 1)
            found = FindTitled(display, children[i], title, depth - 1);
    }
    if (children) XFree(children);
    return found;
}

}  // namespace

bool X11Platform::StartProgram(const char* file, const char* parameters) {
    std::string program = FindProgram(file);
    if (program.empty()) return false;
    std::vector<std::string> words = SplitWords(parameters);
    words.insert(words.begin(), file);
    return Spawn(program, words);
}

bool X11Platform::OpenFolderInFileManager(const char* folder) {
    std::string opener = FindProgram(FOLDER_OPENER);
    if (opener.empty()) return false;
    return Spawn(opener, {FOLDER_OPENER, folder});
}

WindowHandle X11Platform::FindWindowByTitle(const char* title) {
    if (display == nullptr) return 0;
    // Another client's window can vanish while we look at it.
    IgnoredXErrors guard(display);
    return FindTitled(display, DefaultRootWindow(display), title, 3);
}

bool X11Platform::MoveWindow(WindowHandle window, int x, int y, int width, int height) {
    if (display == nullptr || window == 0 || width <= 0 || height <= 0) return false;
    IgnoredXErrors guard(display);
    XMoveResizeWindow(display, Window(window), x, y, unsigned(width), unsigned(height));
    return !guard.Failed();
}

}  // namespace platform
