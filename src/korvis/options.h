// The command line of the engine's host program: --seed N, --help, --version.
#pragma once

#include <string>

struct KorvisOptionsRecord {
    unsigned seed = 0;
    bool seedGiven = false;  // false: the seed is taken from the clock at start-up
    int kingdoms = 3;        // of the strategic game, the player's among them
};

extern KorvisOptionsRecord KorvisOptions;

// Reads the command line into KorvisOptions. Returns -1 when the program is to start,
// otherwise the exit status: 0 with the help or the version in `output`, 2 with what is
// wrong in `errors`.
int ReadKorvisCommandLine(int argc, const char* const* argv, std::string& output,
                          std::string& errors);
