// Entry point of the engine's host program: options first, so that --help and a wrong
// option need no display; then the world and the paced loop until Escape or a close.
#include <cstdio>
#include <string>

#include "korvis/host.h"
#include "korvis/options.h"
#include "quentaro.h"

int main(int argc, char** argv) {
    std::string output, errors;
    int status = ReadKorvisCommandLine(argc, argv, output, errors);
    std::fputs(output.c_str(), stdout);
    std::fputs(errors.c_str(), stderr);
    if (status >= 0) return status;
    std::string why;
    if (!platform::Sys().Connect(why)) {
        std::fprintf(stderr, "korvis: %s\n", why.c_str());
        return 1;
    }
    KINGDOM_COUNT = KorvisOptions.kingdoms;
    if (!KorvisStartUp(ChooseSeed(KorvisOptions.seedGiven, KorvisOptions.seed))) return 1;
    return RunKorvis();
}
