// Start-up figures: InitGameData and its parts with the default picture set present, the
// resident memory it leaves, and the whole program from exec to its first frame on a
// private Xvfb (skipped when Xvfb is not installed).
//   ./build/startup_bench [runs]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
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

void LoadAllGroups() {
    LoadCrossImages();
    LoadUnitImages();
    LoadLandImages();
    LoadDungeonImages();
    LoadStructureImages();
    LoadItemImages();
    LoadScreenImages();
    LoadCubeImages();
}

// Starts Xvfb with -displayfd; returns its pid and fills `name`, or -1.
pid_t StartXvfb(std::string& name) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 1);
        dup2(devnull, 2);
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp", "+extension", "GLX", "+extension", "RECORD", "+extension",
               "XTEST", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    name = ":" + number;
    return pid;
}

Display* Connect(const std::string& name) {
    for (int i = 0; i < 50; ++i) {
        if (Display* d = XOpenDisplay(name.c_str())) return d;
        usleep(100000);
    }
    return nullptr;
}

Window FindTitled(Display* d, Window w, const char* title) {
    char* name = nullptr;
    if (XFetchName(d, w, &name) && name) {
        bool match = std::strcmp(name, title) == 0;
        XFree(name);
        if (match) return w;
    }
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(d, w, &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) found = FindTitled(d, children[i], title);
    if (children) XFree(children);
    return found;
}

bool Viewable(Display* d, Window w) {
    XWindowAttributes a;
    return XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable;
}

// One start of the real program in the build folder: milliseconds until its window is
// shown and its resident memory then (kB), or a negative time on failure.
double ProcessToWindow(Display* d, const std::string& display, long& residentKb) {
    std::string program = std::string(QUENTARO_BINARY_DIR) + "/quentaro";
    Clock::time_point start = Clock::now();
    pid_t child = fork();
    if (child == 0) {
        if (chdir(QUENTARO_BINARY_DIR) != 0) _exit(127);
        setenv("DISPLAY", display.c_str(), 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    double elapsed = -1;
    Window window = 0;
    while (Ms(start, Clock::now()) < 20000) {
        if (!window) window = FindTitled(d, DefaultRootWindow(d), "GAME");
        if (window && Viewable(d, window)) {
            elapsed = Ms(start, Clock::now());
            residentKb = ResidentKb(std::to_string(child));
            break;
        }
        usleep(1000);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    return elapsed;
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
        LoadAllGroups();
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

    std::string display;
    pid_t server = StartXvfb(display);
    if (server < 0) {
        std::printf("whole process: skipped (no Xvfb)\n");
        return 0;
    }
    Display* d = Connect(display);
    std::vector<double> process;
    long residentKb = 0;
    for (int i = 0; d && i < runs; ++i) {
        double ms = ProcessToWindow(d, display, residentKb);
        if (ms >= 0) process.push_back(ms);
    }
    if (!process.empty()) {
        double m = Median(process);
        std::printf("whole process from exec to its window shown, median of %zu: %.2f ms; "
                    "InitGameData is %.2f of it; program resident then: %ld kB\n",
                    process.size(), m, w / m, residentKb);
    } else {
        std::printf("whole process: no window seen\n");
    }
    if (d) XCloseDisplay(d);

    // In this process, on the real backend: StartUp and the first pass, which presents the
    // first frame.
    setenv("DISPLAY", display.c_str(), 1);
    if (ConnectDisplay()) {
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
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    return 0;
}
