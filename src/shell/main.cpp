// Entry point: no command line, no configuration; the program's folder is the working
// directory it was started in.
#include "shell/main_loop.h"

int main() {
    if (!ConnectDisplay()) return 1;
    return RunMainLoop();
}
