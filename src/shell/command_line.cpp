// Reading the media menu's command line before anything else starts, so that --help and
// a wrong option need no display. Used by the entry point; StartUp reads StartOptions.
#include "shell/command_line.h"

#include "platform/platform.h"
#include "shell/app_state.h"

#ifndef QUENTARO_VERSION
#define QUENTARO_VERSION "unknown"
#endif

StartOptionsRecord StartOptions;

namespace {

constexpr const char* HELP =
    "Usage: quentaro [OPTION]... [FOLDER]\n"
    "Browse FOLDER, or the folder quentaro is started in: a list of its entries, a page of\n"
    "thumbnails or one picture in full; P plays the selected file in the player kelvo.\n"
    "\n"
    "  -h, --help   print this help and exit\n"
    "  --version    print the version and exit\n"
    "  --verbose    report on standard error where the program's files were found and\n"
    "               how many pictures were loaded\n"
    "\n"
    "The picture folders (bmp_*) and the player are taken from the folder quentaro is\n"
    "started in when it holds them, otherwise from the installed data folder. The keys\n"
    "and the mouse are described in quentaro(1).\n";

// Why `folder` cannot be browsed, or "" when it can; `absolute` then holds its full path.
std::string CheckFolder(const std::string& folder, std::string& absolute) {
    std::uint32_t attributes = 0;
    if (!platform::FileAttributes(folder.c_str(), attributes)) return "no such folder";
    if (!(attributes & platform::ATTRIBUTE_DIRECTORY)) return "not a folder";
    // Entering it is what the browser will do; the current folder is put back at once.
    std::string start = platform::CurrentFolder();
    if (!platform::SetCurrentFolder(folder.c_str())) return "cannot enter the folder";
    absolute = platform::CurrentFolder();
    if (!start.empty()) platform::SetCurrentFolder(start.c_str());
    if (absolute.empty()) return "cannot read the folder's path";
    if (absolute.size() >= std::size_t(FOLDER_CAPACITY))
        return "its path is longer than " + std::to_string(FOLDER_CAPACITY - 1) + " bytes";
    return "";
}

int Wrong(std::string& errors, const std::string& what) {
    errors += "quentaro: " + what + "\nTry 'quentaro --help' for more information.\n";
    return 2;
}

}  // namespace

int ReadCommandLine(int argc, const char* const* argv, std::string& output, std::string& errors) {
    StartOptions = StartOptionsRecord{};
    std::string folder;
    bool haveFolder = false, optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (!optionsEnded && word.size() > 1 && word[0] == '-') {
            if (word == "--") {
                optionsEnded = true;
            } else if (word == "-h" || word == "--help") {
                output += HELP;
                return 0;
            } else if (word == "--version") {
                output += std::string("quentaro ") + QUENTARO_VERSION + "\n";
                return 0;
            } else if (word == "--verbose") {
                StartOptions.verbose = true;
            } else {
                return Wrong(errors, "unknown option '" + word + "'");
            }
        } else if (haveFolder) {
            return Wrong(errors, "one folder at most: '" + folder + "' and '" + word + "'");
        } else {
            folder = word;
            haveFolder = true;
        }
    }
    if (haveFolder) {
        std::string why = CheckFolder(folder, StartOptions.browseFolder);
        if (!why.empty()) {
            StartOptions.browseFolder.clear();
            errors += "quentaro: cannot browse '" + folder + "': " + why + "\n";
            return 2;
        }
    }
    return -1;
}
