// The media menu's command line: an optional folder to browse from the start, and the
// options --help, --version and --verbose.
#pragma once

#include <string>

struct StartOptionsRecord {
    std::string browseFolder;  // absolute; empty: browse the start folder, as without arguments
    bool verbose = false;      // report at start-up where the program's files were found
};

extern StartOptionsRecord StartOptions;

// Reads the command line into StartOptions; a folder is checked and made absolute here,
// and the current folder is left as it was. Returns -1 when the program is to start,
// otherwise the exit status: 0 with the help or the version in `output`, 2 with what is
// wrong in `errors`.
int ReadCommandLine(int argc, const char* const* argv, std::string& output, std::string& errors);
