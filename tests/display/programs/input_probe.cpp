// The real program's start-up, hooks and passes with a report instead of a view: after
// each pass it appends to "passes.txt" what the next pass will find recorded (kN for a
// key-down of virtual key N, r for a right press) and what the live poll finds held (hN),
// one line per pass that found anything. "ready" is written once the hooks are in.
#include <cstdio>
#include <string>

#include "quentaro.h"

int main() {
    if (!ConnectDisplay()) return 1;
    StartUp();
    InstallInputHooks();
    AppState.listViewOn = AppState.fullViewOn = AppState.thumbnailRedraw = 0;
    Loader.overlayOn = 0;
    std::FILE* report = std::fopen("passes.txt", "w");
    if (report == nullptr) return 2;
    std::fputs("ready\n", report);
    std::fflush(report);
    const int polled[] = {1, 2, 4, 16, 17, 18, 65, 160, 161};
    while (AppState.quitRequested == 0) {
        RunPass();
        std::string line;
        for (int key = 0; key < 256; ++key)
            if (KeyState[key]) line += " k" + std::to_string(key);
        if (MouseState.rightPress) line += " r";
        for (int key : polled)
            if (KeyDown(key)) line += " h" + std::to_string(key);
        if (line.empty()) continue;
        std::fprintf(report, "pass %d%s\n", AppState.passCount, line.c_str());
        std::fflush(report);
    }
    ShutDown();
    std::fclose(report);
    return 0;
}
