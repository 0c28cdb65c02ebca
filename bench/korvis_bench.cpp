// The engine's host program: start-up to the first presented frame (overworld, kingdoms and
// all dungeon levels), then passes a second in the tile map and in the first-person scene,
// paced as the program runs them and unpaced (a frame composed and presented every pass:
// what the machine could do). Needs an X server in DISPLAY (Xvfb will do); run it from the
// build folder so the picture set is found:
//   cd build && ./bench/korvis_bench [seed]
// Targets: first frame under 1.5 s, both views at 60 passes a second or more.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "korvis/host.h"
#include "quentaro.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Paced passes as the program runs them, for `seconds`.
double PacedRate(double seconds) {
    const int start = AppState.passCount;
    Clock::time_point t = Clock::now();
    while (Seconds(t) < seconds) RunKorvisPass();
    return (AppState.passCount - start) / Seconds(t);
}

double lastProcessorRate = 0;  // the last unpaced run's passes per processor second

// Every pass composes and presents a whole frame, with no wait. On a shared machine the
// passes per processor second are the steadier figure.
double UnpacedRate(int passes) {
    Clock::time_point t = Clock::now();
    std::clock_t cpu = std::clock();
    for (int i = 0; i < passes; ++i) {
        if (Korvis.sceneOn == 1)
            ComposeSceneFrame();
        else
            ComposeTileMapFrame();
        MarkScreenStale();
        PresentIfChanged();
        while (PumpMessages()) {
        }
        ++AppState.passCount;
    }
    lastProcessorRate = passes / (double(std::clock() - cpu) / CLOCKS_PER_SEC);
    return passes / Seconds(t);
}

}  // namespace

int main(int argc, char** argv) {
    unsigned seed = argc > 1 ? unsigned(std::strtoul(argv[1], nullptr, 10)) : 7u;
    std::string why;
    if (!platform::Sys().Connect(why)) {
        std::fprintf(stderr, "korvis_bench: %s\n", why.c_str());
        return 1;
    }
    Clock::time_point start = Clock::now();
    std::clock_t startCpu = std::clock();
    if (!KorvisStartUp(seed)) return 1;
    const double startUp = Seconds(start);
    const double startUpCpu = double(std::clock() - startCpu) / CLOCKS_PER_SEC;
    RunKorvisPass();
    std::printf("seed %u: start-up (window, pictures, overworld, kingdoms, %d dungeon levels) "
                "%.3f s (%.3f s processor); first frame presented at %.3f s (target < 1.5 s)\n",
                seed, LEVEL_COUNT - 1 - DUNGEON_FIRST_LEVEL, startUp, startUpCpu,
                Korvis.firstFrameMicroseconds / 1e6);
    double paced = PacedRate(3.0), unpaced = UnpacedRate(300);
    std::printf("tile map: %.1f passes/s paced; unpaced (whole frame every pass) %.1f passes/s, "
                "%.1f per processor second\n",
                paced, unpaced, lastProcessorRate);
    // The walker into a dungeon level, its walls around it, and the scene on.
    UnitTable[1].x = 128;
    UnitTable[1].y = 128;
    UnitTable[1].level = 5;
    ViewX = ViewY = 128;
    ViewLevel = 5;
    Korvis.sceneOn = 1;
    paced = PacedRate(3.0);
    unpaced = UnpacedRate(300);
    std::printf("scene:    %.1f passes/s paced; unpaced (whole frame every pass) %.1f passes/s, "
                "%.1f per processor second\n",
                paced, unpaced, lastProcessorRate);
    KorvisShutDown();
    return 0;
}
