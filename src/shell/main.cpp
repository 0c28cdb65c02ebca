// Entry point. With no argument the program browses the folder it was started in; a
// folder argument is browsed instead, while the start folder stays the working folder.
#include <cstdio>
#include <string>

#include "shell/command_line.h"
#include "shell/main_loop.h"

int main(int argc, char** argv) {
    std::string output, errors;
    int status = ReadCommandLine(argc, argv, output, errors);
    std::fputs(output.c_str(), stdout);
    std::fputs(errors.c_str(), stderr);
    if (status >= 0) return status;
    if (!ConnectDisplay()) return 1;
    return RunMainLoop();
}
