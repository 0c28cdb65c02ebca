// The engine's dungeon generator and console on the real backend: generates two levels with
// the progress display on, reports "generated", and keeps the last message on screen until a
// file "go" appears. Then runs the console once per frame, appending a line to "engine.txt"
// whenever what it shows or does changes. A close request ends it.
#include <cstdio>
#include <cstring>
#include <string>

#include "quentaro.h"

namespace {

bool FileExists(const char* name) {
    std::FILE* f = std::fopen(name, "r");
    if (f) std::fclose(f);
    return f != nullptr;
}

}  // namespace

int main() {
    if (!ConnectDisplay()) return 1;
    StartUp();
    std::FILE* report = std::fopen("engine.txt", "w");
    if (report == nullptr) return 2;
    ShowGenerationProgress = 1;
    int result = GenerateDungeon(128, 128, 1, 2, 60, 100);
    std::fprintf(report, "generated %d rooms %d\n", result, RoomCount);
    std::fflush(report);
    while (!FileExists("go") && AppState.quitRequested == 0) {
        while (PumpMessages()) {
        }
        platform::Sys().Pause(20);
    }

    std::string last;
    while (AppState.quitRequested == 0) {
        std::memset(Framebuffer, 0, std::size_t(AppState.frameWidth) * AppState.frameHeight * 4);
        RunConsole();
        PresentFrame();
        const UnitRecord& walker = UnitTable[1];
        char state[400];
        std::snprintf(state, sizeof state, "open %d walker %d,%d,%d view %d,%d,%d line %s",
                      ConsoleOpen, walker.x, walker.y, walker.level, ViewX, ViewY, ViewLevel,
                      CommandLine);
        if (last != state) {
            last = state;
            std::fprintf(report, "%s\n", state);
            std::fflush(report);
        }
        while (PumpMessages()) {
        }
        ++AppState.passCount;
        // A key's effect shows in the report only after the console's own pause; this long
        // frame gives the harness time to let go before the next poll.
        platform::Sys().Pause(250);
    }
    std::fclose(report);
    ShutDown();
    return 0;
}
