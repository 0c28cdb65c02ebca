// The whole program as a user meets it: start to the first presented frame, and a close
// request to exit, and the program's resident memory once it shows its first frame.
// Starts its own Xvfb and the built program in a temporary folder with a few entries,
// repeated a number of times; prints the median and spread.
//   ./build/bench/process_bench [runs]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
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

// VmRSS of a process in kB, from /proc/<pid>/status.
long ResidentKb(pid_t pid) {
    std::FILE* status = std::fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
    if (!status) return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, "VmRSS:", 6) == 0) kb = std::atol(line + 6);
    std::fclose(status);
    return kb;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
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
    std::string program = std::string(QUENTARO_BINARY_DIR) + "/quentaro";

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
        residentKb = ResidentKb(child);
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
    XCloseDisplay(display);
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    return 0;
}
