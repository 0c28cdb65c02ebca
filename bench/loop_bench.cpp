// The main loop as it runs, on its own Xvfb: for each view (list, thumbnails, full), the
// passes per second and the CPU of the whole process (every thread) while nothing happens,
// and the work of a pass when something does (the pointer moves every pass). The loop as it
// was, drawing and presenting every pass without a pause (and presenting through glDrawPixels),
// runs beside it in the same run.
//   ./build/bench/loop_bench [seconds per idle figure]
#include <GL/gl.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "quentaro.h"

namespace {

namespace fs = std::filesystem;

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double CpuSeconds() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           1e-6 * double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

// The frame presented as it was before the frame texture: the GL library's own pixel drawing.
void PresentAsItWas() {
    glDisable(GL_TEXTURE_2D);
    glPixelZoom(float(AppState.pixelScale), float(AppState.pixelScale));
    glDrawPixels(AppState.frameWidth, AppState.frameHeight, GL_RGBA, GL_UNSIGNED_BYTE, Framebuffer);
    platform::Sys().SwapBuffers();
    glEnable(GL_TEXTURE_2D);
}

// The pass as it was before the loop was paced: every view drawn, every frame presented,
// no pause.
void UnpacedPass() {
    if (AppState.listViewOn == 1) DrawListView();
    if (AppState.thumbnailRedraw == 1) DrawThumbnailPage();
    if (AppState.fullViewOn == 1) DrawFullView();
    HandleBrowserClick();
    HandlePlayClick();
    ApplyFirstKeys();
    std::memcpy(Framebuffer, SavedFrame,
                std::size_t(AppState.frameWidth) * std::size_t(AppState.frameHeight) * 4);
    if (Loader.overlayOn == 1) {
        DrawCursorCross();
        DrawOverlay();
    }
    HandleOverlayClick();
    PresentAsItWas();
    ApplySecondKeys();
    MouseState.rightPress = 0;
    std::memset(KeyState, 0, sizeof KeyState);
    while (PumpMessages()) {
    }
    AppState.passCount += 1;
}

struct Idle {
    double passesPerSecond, cpuPercent;
};

Idle MeasureIdle(const std::function<void()>& pass, double seconds) {
    for (double end = Now() + 1; Now() < end;) pass();  // settle
    int passes = AppState.passCount;
    double cpu = CpuSeconds(), start = Now();
    while (Now() - start < seconds) pass();
    double wall = Now() - start;
    return {(AppState.passCount - passes) / wall, 100 * (CpuSeconds() - cpu) / wall};
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
double Percentile90(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() * 9 / 10];
}

void ShowView(int view, int pictureEntry) {
    AppState.listViewOn = view == 0;
    AppState.fullViewOn = view == 2;
    AppState.thumbnailRedraw = view == 1;
    if (view == 2) {
        platform::SetCurrentFolder(AppState.browseFolder);
        Loader.Load(EntryTable.names[pictureEntry], LoaderInfo);
        platform::SetCurrentFolder(AppState.startFolder);
        AppState.fullViewEntry = pictureEntry;
        Loader.panFactor = 0;
        Loader.zoomStep = 2.0f;
    }
    MarkScreenStale();
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : 5;
    int fds[2];
    if (pipe(fds) != 0) return 1;
    pid_t server = fork();
    if (server == 0) {
        std::freopen("/dev/null", "w", stderr);
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1080x24",
               "-nolisten", "tcp", "+extension", "GLX", "+extension", "RECORD",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    setenv("DISPLAY", (":" + number).c_str(), 1);
    Display* pointer = XOpenDisplay(nullptr);  // moves the pointer, as a user would

    std::string folder = fs::temp_directory_path() / "quentaro-loop-bench-XXXXXX";
    folder = mkdtemp(folder.data());
    platform::Picture picture;
    picture.width = picture.fullWidth = 1200;
    picture.height = picture.fullHeight = 900;
    picture.bgrx.resize(std::size_t(1200) * 900 * 4);
    for (std::size_t i = 0; i < picture.bgrx.size(); ++i) picture.bgrx[i] = std::uint8_t(i * 7);
    for (int i = 0; i < 18; ++i)
        platform::WriteJpegFile((folder + "/photo_" + std::to_string(10 + i) + ".jpg").c_str(),
                                picture, 85);
    for (int i = 0; i < 30; ++i)
        std::fclose(std::fopen((folder + "/note_" + std::to_string(i) + ".txt").c_str(), "w"));
    if (chdir(folder.c_str()) != 0 || pointer == nullptr || !ConnectDisplay()) return 1;
    StartUp();
    InstallInputHooks();
    int pictureEntry = 1;
    while (pictureEntry < EntryTable.count &&
           std::strstr(EntryTable.names[pictureEntry], ".jpg") == nullptr)
        ++pictureEntry;
    XWarpPointer(pointer, 0, DefaultRootWindow(pointer), 0, 0, 0, 0, 900, 500);
    XSync(pointer, False);

    std::printf("idle, %.0f s each (passes per second, CPU %% of one core, whole process):\n",
                seconds);
    const char* names[3] = {"list", "thumbnails", "full view"};
    for (int view = 0; view < 3; ++view) {
        ShowView(view, pictureEntry);
        Idle before = MeasureIdle(UnpacedPass, seconds);
        ShowView(view, pictureEntry);
        Idle after = MeasureIdle(RunPass, seconds);
        std::printf("  %-10s  unpaced %6.1f/s %6.1f %%   paced %5.1f/s %5.2f %%\n", names[view],
                    before.passesPerSecond, before.cpuPercent, after.passesPerSecond,
                    after.cpuPercent);
    }

    std::printf("a pass while the pointer moves every pass (ms of work, median and 90th "
                "percentile; the paced pass's wait excluded):\n");
    for (int view = 0; view < 3; ++view) {
        ShowView(view, pictureEntry);
        std::vector<double> unpaced, paced;
        for (int i = 0; i < 400; ++i) {
            // Alternate, so that the load of the machine falls on both alike.
            int x = 700 + 40 * (i % 2), y = 400 + 20 * (i % 2);
            XWarpPointer(pointer, 0, DefaultRootWindow(pointer), 0, 0, 0, 0, x, y);
            XSync(pointer, False);
            bool old = i % 4 < 2;
            double start = Now();
            if (old) {
                UnpacedPass();
                unpaced.push_back(1000 * (Now() - start));
            } else {
                RunPass();
                paced.push_back(1000 * (Now() - start) - Pacing.lastWait / 1000.0);
            }
        }
        std::printf("  %-10s  unpaced %6.2f / %6.2f   paced %6.2f / %6.2f   ratio %.2f\n",
                    names[view], Median(unpaced), Percentile90(unpaced), Median(paced),
                    Percentile90(paced), Median(paced) / Median(unpaced));
    }
    ShutDown();
    fs::remove_all(folder);
    std::fflush(stdout);
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    // The server is gone: the exit handlers would only find its connection broken.
    _exit(0);
}
