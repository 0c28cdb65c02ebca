// The whole program as a user meets it: start to the first presented frame, and a close
// request to exit, repeated a number of times (median and spread); then its resident memory
// idle in the list, after 60 frames that differ, after a thumbnail page of 16 pictures of
// 4000 x 3000, and at its peak after a 6000 x 4000 picture shown in full; last, the time from
// the T key to the page of those 16 photos on screen with the desktop's thumbnail cache empty,
// full and unusable, in fresh starts. Starts its own Xvfb and the program (the built one, or the
// one given) in temporary folders.
//   ./build/bench/process_bench [runs] [program]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace {

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

Window FindByName(Display* display, Window window, const char* title) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        bool match = std::string(name) == title;
        XFree(name);
        if (match) return window;
    }
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !found; ++i)
            found = FindByName(display, children[i], title);
        if (children) XFree(children);
    }
    return found;
}

// Any lit pixel in the window's area: the first frame has been presented.
bool FramePresented(Display* display, int width, int height) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), 0, 0, unsigned(width),
                              unsigned(height), AllPlanes, ZPixmap);
    if (!image) return false;
    bool lit = false;
    for (int y = 0; y < height && !lit; y += 2)
        for (int x = 0; x < width && !lit; x += 2) lit = (XGetPixel(image, x, y) & 0xFFFFFF) != 0;
    XDestroyImage(image);
    return lit;
}

// A field of /proc/<pid>/status in kB: "VmRSS:" now, "VmHWM:" the peak so far.
long StatusKb(pid_t pid, const char* field = "VmRSS:") {
    std::FILE* status = std::fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
    if (!status) return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, field, std::strlen(field)) == 0)
            kb = std::atol(line + std::strlen(field));
    std::fclose(status);
    return kb;
}

// Process CPU time (user + system) in seconds, from /proc/<pid>/stat.
double CpuSeconds(pid_t pid) {
    std::FILE* stat = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
    if (!stat) return -1;
    char text[1024] = {};
    std::size_t n = std::fread(text, 1, sizeof text - 1, stat);
    std::fclose(stat);
    text[n] = 0;
    const char* p = std::strrchr(text, ')');
    if (!p) return -1;
    unsigned long utime = 0, stime = 0;
    // Fields after the name: state, then 10 numbers, then utime and stime.
    std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime);
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

// Waits until the work of a key is done: the process has used no processor time for a
// while, or (a loop that never rests) its resident memory has stopped changing.
void WaitUntilIdle(pid_t pid) {
    double lastCpu = CpuSeconds(pid);
    long lastKb = StatusKb(pid);
    int quiet = 0, steady = 0;
    for (int i = 0; i < 200 && quiet < 3 && (steady < 6 || i < 8); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        double cpu = CpuSeconds(pid);
        long kb = StatusKb(pid);
        quiet = cpu - lastCpu < 0.05 ? quiet + 1 : 0;
        steady = kb == lastKb ? steady + 1 : 0;
        lastCpu = cpu;
        lastKb = kb;
    }
}

// A photograph-like picture written as a JPEG file.
void WritePhoto(const std::string& path, int width, int height) {
    platform::Picture p;
    p.width = p.fullWidth = width;
    p.height = p.fullHeight = height;
    p.bgrx.resize(std::size_t(width) * height * 4);
    std::uint32_t noise = 12345;
    for (std::size_t i = 0; i < p.bgrx.size(); i += 4) {
        noise = noise * 1103515245u + 12345u;
        int x = int(i / 4 % std::size_t(width)), y = int(i / 4 / std::size_t(width));
        int grain = int(noise >> 27);
        p.bgrx[i] = std::uint8_t((x * 200 / width + grain) & 255);
        p.bgrx[i + 1] = std::uint8_t((y * 180 / height + grain) & 255);
        p.bgrx[i + 2] = std::uint8_t(((x + y) * 150 / (width + height) + 2 * grain) & 255);
    }
    platform::WriteJpegFile(path.c_str(), p, 90);
}

void Tap(Display* display, KeySym key) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), True, CurrentTime);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), False, CurrentTime);
    XSync(display, False);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Bytes the process has read through system calls so far ("rchar" of /proc/<pid>/io).
long long BytesRead(pid_t pid) {
    std::FILE* io = std::fopen(("/proc/" + std::to_string(pid) + "/io").c_str(), "r");
    if (!io) return -1;
    char line[256];
    long long bytes = -1;
    while (std::fgets(line, sizeof line, io))
        if (std::strncmp(line, "rchar:", 6) == 0) bytes = std::atoll(line + 6);
    std::fclose(io);
    return bytes;
}

// The page of thumbnails in a folder of ".", ".." and 16 photos of 4000 x 3000, at the start
// frame of 960 x 540 at scale 2 with cells of 140: 6 x 3 cells, the last photo in the last one
// (frame origin (710, 89), its picture 140 x 106 from there, y up). A block of 4 x 4 screen
// pixels at the picture's middle is black until the page is presented, and the whole page comes
// in one buffer swap, so the block lit is the page on screen. Read back every millisecond (a
// read takes 0.04 ms more), which is the figures' resolution.
constexpr int LAST_CELL_X = 2 * (710 + 70), LAST_CELL_Y = 2 * (539 - (89 + 53));

bool LastThumbnailShown(Display* display) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), LAST_CELL_X, LAST_CELL_Y, 4, 4,
                              AllPlanes, ZPixmap);
    if (!image) return false;
    bool lit = true;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) lit = lit && (XGetPixel(image, x, y) & 0xFFFFFF) != 0;
    XDestroyImage(image);
    return lit;
}

// Thumbnails finished in the cache's large/ folder (not those still under a temporary name).
int ThumbnailsKept(const std::string& cache) {
    std::error_code error;
    int count = 0;
    for (const auto& file : std::filesystem::directory_iterator(cache + "/thumbnails/large", error))
        count += file.path().extension() == ".png" ? 1 : 0;
    return count;
}

struct PageVisit {
    double toPage = -1;       // seconds from the T press to the last thumbnail on screen
    double toKept = -1;       // from the T press to the 16th thumbnail in the cache
    long long bytesRead = 0;  // what the program read from the press to the page on screen
};

// One fresh start of the program in `folder` with XDG_CACHE_HOME `cacheHome`, idle in the
// list; then T, the time to the page on screen, and with `waitForCache` the time until the
// cache holds every thumbnail. The program ends before this returns.
PageVisit VisitPage(Display* display, const std::string& program, const std::string& folder,
                    const std::string& cacheHome, bool waitForCache) {
    PageVisit visit;
    pid_t child = fork();
    if (child == 0) {
        if (chdir(folder.c_str()) != 0) _exit(126);
        setenv("XDG_CACHE_HOME", cacheHome.c_str(), 1);
        // The GL library keeps its shader cache there too: one place for every visit.
        setenv("MESA_SHADER_CACHE_DIR", (folder + "/../shaders").c_str(), 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    double start = Now();
    while (Now() - start < 30 && !FramePresented(display, 1920, 1080))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    // The cross of the pointer away from the cells.
    XTestFakeMotionEvent(display, -1, 1900, 20, CurrentTime);
    XSync(display, False);
    WaitUntilIdle(child);
    long long bytes = BytesRead(child);
    double press = Now();
    Tap(display, XK_t);
    while (Now() - press < 30 && !LastThumbnailShown(display))
        std::this_thread::sleep_for(std::chrono::microseconds(1000));
    visit.toPage = Now() - press;
    visit.bytesRead = BytesRead(child) - bytes;
    while (waitForCache && Now() - press < 30 && ThumbnailsKept(cacheHome) < 16)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (waitForCache && ThumbnailsKept(cacheHome) >= 16) visit.toKept = Now() - press;
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    return visit;
}

void PrintVisits(const char* what, const std::vector<PageVisit>& visits) {
    std::vector<double> ms;
    std::vector<double> megabytes;
    for (const PageVisit& v : visits) {
        ms.push_back(1000 * v.toPage);
        megabytes.push_back(double(v.bytesRead) / 1e6);
    }
    std::printf("%s median %4.0f ms (min %4.0f, max %4.0f), %5.1f MB read\n", what, Median(ms),
                *std::min_element(ms.begin(), ms.end()), *std::max_element(ms.begin(), ms.end()),
                Median(megabytes));
}

double MedianPage(const std::vector<PageVisit>& visits) {
    std::vector<double> seconds;
    for (const PageVisit& v : visits) seconds.push_back(v.toPage);
    return Median(seconds);
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    int fds[2];
    if (pipe(fds) != 0) return 1;
    pid_t server = fork();
    if (server == 0) {
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1080x24",
               "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    std::string name = ":" + number;
    setenv("DISPLAY", name.c_str(), 1);
    Display* display = XOpenDisplay(name.c_str());
    if (!display) return 1;

    std::string folder = std::filesystem::temp_directory_path() / "quentaro-bench-XXXXXX";
    folder = mkdtemp(folder.data());
    for (int i = 0; i < 20; ++i)
        std::fclose(std::fopen((folder + "/entry" + std::to_string(i) + ".txt").c_str(), "w"));
    std::string program =
        argc > 2 ? std::string(argv[2]) : std::string(QUENTARO_BINARY_DIR) + "/quentaro";

    std::vector<double> toFrame, toExit;
    long residentKb = -1;
    for (int run = 0; run < runs; ++run) {
        double start = Now();
        pid_t child = fork();
        if (child == 0) {
            if (chdir(folder.c_str()) != 0) _exit(126);
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        Window window = 0;
        while (Now() - start < 30) {
            window = FindByName(display, DefaultRootWindow(display), "GAME");
            if (window && FramePresented(display, 1920, 1080)) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        toFrame.push_back(Now() - start);
        residentKb = StatusKb(child);
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
        double closeAt = Now();
        XSendEvent(display, window, False, NoEventMask, &event);
        XSync(display, False);
        int status = 0;
        waitpid(child, &status, 0);
        toExit.push_back(Now() - closeAt);
    }
    std::printf("start to first presented frame: median %.0f ms (min %.0f, max %.0f)\n",
                1000 * Median(toFrame), 1000 * *std::min_element(toFrame.begin(), toFrame.end()),
                1000 * *std::max_element(toFrame.begin(), toFrame.end()));
    std::printf("close request to exit:          median %.0f ms (min %.0f, max %.0f)\n",
                1000 * Median(toExit), 1000 * *std::min_element(toExit.begin(), toExit.end()),
                1000 * *std::max_element(toExit.begin(), toExit.end()));
    std::printf("resident memory at the first frame: %ld kB\n", residentKb);
    std::filesystem::remove_all(folder);

    // Memory: 16 photos on the first page, the large one alone on the second.
    folder = std::filesystem::temp_directory_path() / "quentaro-bench-XXXXXX";
    folder = mkdtemp(folder.data());
    WritePhoto(folder + "/photo_01.jpg", 4000, 3000);
    for (int i = 2; i <= 16; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/photo_%02d.jpg", i);
        std::filesystem::copy_file(folder + "/photo_01.jpg", folder + name);
    }
    WritePhoto(folder + "/zz_large.jpg", 6000, 4000);
    pid_t child = fork();
    if (child == 0) {
        if (chdir(folder.c_str()) != 0) _exit(126);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    double start = Now();
    while (Now() - start < 30 && !FramePresented(display, 1920, 1080))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    WaitUntilIdle(child);
    long idle = StatusKb(child);
    // Frames that differ (the cursor cross follows the pointer) take no memory of their own.
    for (int k = 0; k < 60; ++k) {
        XTestFakeMotionEvent(display, -1, 300 + 7 * k, 300 + 5 * k, CurrentTime);
        XSync(display, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }
    WaitUntilIdle(child);
    long afterMoves = StatusKb(child);
    Tap(display, XK_t);
    WaitUntilIdle(child);
    long afterPage = StatusKb(child), pagePeak = StatusKb(child, "VmHWM:");
    Tap(display, XK_bracketright);  // the second page: the large picture alone
    WaitUntilIdle(child);
    long afterLargePage = StatusKb(child);
    // A right press on its thumbnail (frame pixel (50, 400) at scale 2) opens the full view.
    XTestFakeMotionEvent(display, -1, 2 * 50 + 1, 2 * (539 - 400) + 1, CurrentTime);
    XTestFakeButtonEvent(display, 3, True, CurrentTime);
    XTestFakeButtonEvent(display, 3, False, CurrentTime);
    XSync(display, False);
    WaitUntilIdle(child);
    long afterView = StatusKb(child), peak = StatusKb(child, "VmHWM:");
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    const double decodedKb = 6000.0 * 4000 * 4 / 1024;
    std::printf("resident memory idle in the list:        %ld kB\n", idle);
    std::printf("after 60 pointer moves (60 new frames):  %ld kB\n", afterMoves);
    std::printf("after the 16-picture page:               %ld kB (peak %ld kB)\n", afterPage,
                pagePeak);
    std::printf("after the page of the 6000 x 4000 one:   %ld kB\n", afterLargePage);
    std::printf("after the 6000 x 4000 full view:         %ld kB (peak %ld kB)\n", afterView, peak);
    std::printf("peak above idle: %.0f kB = %.2f x the large picture's decoded size (%.0f kB)\n",
                double(peak - idle), double(peak - idle) / decodedKb, decodedKb);
    std::filesystem::remove_all(folder);

    // T to the page on screen, in fresh starts: a first visit (an empty cache, the thumbnails
    // written after the page), the cache that visit left (nothing kept in the program's memory
    // serves it), and a cache that cannot be used (its folder a file), which decodes every
    // picture as the page did before the cache. Taken in turns, so that a busy moment of the
    // machine falls on all three alike.
    folder = std::filesystem::temp_directory_path() / "quentaro-bench-XXXXXX";
    folder = mkdtemp(folder.data());
    std::string photos = folder + "/photos", cold = folder + "/cold", warm = folder + "/warm";
    std::string unusable = folder + "/unusable";
    std::filesystem::create_directory(photos);
    std::filesystem::create_directory(warm);
    std::fclose(std::fopen(unusable.c_str(), "w"));
    WritePhoto(photos + "/photo_01.jpg", 4000, 3000);
    for (int i = 2; i <= 16; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/photo_%02d.jpg", i);
        std::filesystem::copy_file(photos + "/photo_01.jpg", photos + name);
    }
    if (VisitPage(display, program, photos, warm, true).toKept < 0) {
        std::fprintf(stderr, "process_bench: the first visit kept fewer than 16 thumbnails\n");
        return 1;
    }
    std::vector<PageVisit> coldVisits, warmVisits, decodingVisits;
    std::vector<double> toKept;
    for (int run = 0; run < runs; ++run) {
        std::filesystem::remove_all(cold);
        std::filesystem::create_directory(cold);
        coldVisits.push_back(VisitPage(display, program, photos, cold, true));
        toKept.push_back(1000 * coldVisits.back().toKept);
        warmVisits.push_back(VisitPage(display, program, photos, warm, false));
        decodingVisits.push_back(VisitPage(display, program, photos, unusable, false));
    }
    std::printf("T to the page of 16 photos of 4000 x 3000 on screen, %d fresh starts each:\n",
                runs);
    PrintVisits("  (a) first visit, empty cache:  ", coldVisits);
    PrintVisits("  (b) every thumbnail in cache:  ", warmVisits);
    PrintVisits("  (c) unusable cache, decoding:  ", decodingVisits);
    std::printf("  (a) its 16 thumbnails kept:     median %4.0f ms after T\n", Median(toKept));
    std::printf("  (b)/(c) = %.3f (%.1f x sooner), (a)/(c) = %.3f\n",
                MedianPage(warmVisits) / MedianPage(decodingVisits),
                MedianPage(decodingVisits) / MedianPage(warmVisits),
                MedianPage(coldVisits) / MedianPage(decodingVisits));
    // T's binding sleeps the whole loop for 180 ms before any page is drawn (its debounce);
    // what the page itself costs is what comes after that pause.
    const double pause = 0.180;
    std::printf("  after T's 180 ms pause: (b) %.0f ms, (c) %.0f ms: %.1f x sooner\n",
                1000 * (MedianPage(warmVisits) - pause),
                1000 * (MedianPage(decodingVisits) - pause),
                (MedianPage(decodingVisits) - pause) / (MedianPage(warmVisits) - pause));
    std::filesystem::remove_all(folder);
    XCloseDisplay(display);
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    return 0;
}
