// Start-up figures: InitGameData and its parts with the default picture set present, the
// resident memory it leaves, and (when DISPLAY is set) StartUp with the first pass in this
// process. The whole program from exec to its first frame is process_bench's.
//   ./build/bench/startup_bench [runs]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "quentaro.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// VmRSS of a process in kB, from /proc/<pid>/status.
long ResidentKb(const std::string& pid) {
    std::ifstream status("/proc/" + pid + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    if (chdir(QUENTARO_BINARY_DIR) != 0) return 1;
    AppState.frameWidth = 960;
    AppState.frameHeight = 540;

    long before = ResidentKb("self");
    Clock::time_point t0 = Clock::now();
    InitGameData();
    double first = Ms(t0, Clock::now());
    long after = ResidentKb("self");
    std::printf("resident memory: %ld kB before InitGameData, %ld kB after (+%ld kB)\n", before,
                after, after - before);
    std::printf("first InitGameData: %.2f ms\n", first);

    std::vector<double> whole, pictures, trig;
    for (int i = 0; i < runs; ++i) {
        ReleaseGameData();  // so every run builds everything, the trig tables included
        t0 = Clock::now();
        InitGameData();
        whole.push_back(Ms(t0, Clock::now()));
        t0 = Clock::now();
        LoadPictureGroups();
        pictures.push_back(Ms(t0, Clock::now()));
        ReleaseTrigTables();
        t0 = Clock::now();
        BuildTrigTables();
        trig.push_back(Ms(t0, Clock::now()));
    }
    double w = Median(whole), p = Median(pictures), t = Median(trig);
    std::printf("InitGameData median of %d: %.2f ms; picture groups %.2f ms (%.2f of it); "
                "trig tables %.2f ms (%.2f of it)\n",
                runs, w, p, p / w, t, t / w);
    ReleaseGameData();
    ReleaseFrameBuffers();

    // In this process, on the real backend: StartUp and the first pass, which presents the
    // first frame.
    if (std::getenv("DISPLAY") && ConnectDisplay()) {
        t0 = Clock::now();
        StartUp();
        Clock::time_point started = Clock::now();
        RunPass();
        double toFrame = Ms(t0, Clock::now());
        std::printf("StartUp %.2f ms, StartUp + first pass (first frame presented) %.2f ms; "
                    "InitGameData is %.2f of it; resident then: %ld kB\n",
                    Ms(t0, started), toFrame, w / toFrame, ResidentKb("self"));
        ShutDown();
        CloseGlWindow();
    }
    return 0;
}
