// Reading the host program's options before anything else starts, so that --help and a
// wrong option need no display. The seed makes a world again: the same seed, the same
// overworld, kingdoms, wells and dungeons.
#include "korvis/options.h"

#include <cerrno>
#include <cstdlib>

#ifndef QUENTARO_VERSION
#define QUENTARO_VERSION "unknown"
#endif

KorvisOptionsRecord KorvisOptions;

namespace {

constexpr int MOST_KINGDOMS = 5;  // the number keys show the capitals of five

constexpr const char* HELP =
    "Usage: korvis [OPTION]...\n"
    "A tile-based fantasy game: a generated overworld with its dungeons, units and kingdoms.\n"
    "\n"
    "  --seed N     make the world from seed N (0 to 4294967295) instead of from the clock;\n"
    "               the seed of every world is shown at the top of the window\n"
    "  --kingdoms N play with N kingdoms, yours among them (1 to 5; 3 if not given)\n"
    "  -h, --help   print this help and exit\n"
    "  --version    print the version and exit\n"
    "\n"
    "The keys are named in the help line at the bottom of the window and in korvis(1).\n";

int Wrong(std::string& errors, const std::string& what) {
    errors += "korvis: " + what + "\nTry 'korvis --help' for more information.\n";
    return 2;
}

// A seed is a whole decimal number that fits 32 bits: no sign, no spaces, nothing after it.
bool ReadSeed(const std::string& text, unsigned& seed) {
    if (text.empty() || text.size() > 10) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
    if (value > 0xFFFFFFFFull) return false;
    seed = unsigned(value);
    return true;
}

}  // namespace

int ReadKorvisCommandLine(int argc, const char* const* argv, std::string& output,
                          std::string& errors) {
    KorvisOptions = KorvisOptionsRecord{};
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        std::string value;
        bool hasValue = false;
        for (const char* option : {"--seed", "--kingdoms"}) {
            const std::string prefix = std::string(option) + "=";
            if (word.rfind(prefix, 0) != 0) continue;
            value = word.substr(prefix.size());
            word = option;
            hasValue = true;
        }
        if (word == "-h" || word == "--help") {
            output += HELP;
            return 0;
        } else if (word == "--version") {
            output += std::string("korvis ") + QUENTARO_VERSION + "\n";
            return 0;
        } else if (word == "--seed") {
            if (!hasValue) {
                if (i + 1 >= argc) return Wrong(errors, "option '--seed' needs a number");
                value = argv[++i];
            }
            if (!ReadSeed(value, KorvisOptions.seed))
                return Wrong(errors,
                             "the seed '" + value + "' is not a number from 0 to 4294967295");
            KorvisOptions.seedGiven = true;
        } else if (word == "--kingdoms") {
            if (!hasValue) {
                if (i + 1 >= argc) return Wrong(errors, "option '--kingdoms' needs a number");
                value = argv[++i];
            }
            if (value.size() != 1 || value[0] < '1' || value[0] > '0' + MOST_KINGDOMS)
                return Wrong(errors, "the kingdoms '" + value + "' are not a number from 1 to 5");
            KorvisOptions.kingdoms = value[0] - '0';
        } else if (word.size() > 1 && word[0] == '-') {
            return Wrong(errors, "unknown option '" + word + "'");
        } else {
            return Wrong(errors, "unexpected argument '" + word + "'");
        }
    }
    return -1;
}
