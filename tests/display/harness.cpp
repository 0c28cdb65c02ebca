// The display-test harness: Xvfb, child processes, window lookup, XTEST and XGetImage.
#include "display/harness.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace harness {

namespace {

// In a child just forked: end it with `signal` when the test process ends, however that
// happens, so a failed or killed run leaves no server or program behind.
void EndWithParent(int signal, pid_t parent) {
    prctl(PR_SET_PDEATHSIG, signal);
    if (getppid() != parent) _exit(125);  // the parent was already gone
}

// The programs the tests start keep their thumbnails in a cache of the test process, removed
// when it ends, never in the user's.
struct PrivateThumbnailCache {
    std::string folder = "/tmp/quentaro-test-cache-" + std::to_string(getpid());
    PrivateThumbnailCache() { setenv("XDG_CACHE_HOME", folder.c_str(), 1); }
    ~PrivateThumbnailCache() { RemoveFolder(folder); }
} privateThumbnailCache;

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string WindowName(Display* display, Window window) {
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string name;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data) {
        name.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        return name;
    }
    char* plain = nullptr;
    if (XFetchName(display, window, &plain) && plain) {
        name = plain;
        XFree(plain);
    }
    return name;
}

// Windows come and go while the tree is walked (the program rebuilds its window on a size
// switch): a request about one that has just gone fails with BadWindow, which Xlib's default
// handler answers by ending the test process. While a walk runs, that error only means the
// window is no longer there; any other error still goes to the handler that was in place.
XErrorHandler handlerOutsideWalks = nullptr;

int SkipVanishedWindows(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow) return 0;
    return handlerOutsideWalks ? handlerOutsideWalks(display, error) : 0;
}

// What a walk tells about each window: its attributes and the root position of its
// drawing area. Position and size come from one reply, so they belong to the same moment
// even while another client moves and resizes the window in one request.
using Visit = std::function<void(Window, const XWindowAttributes&, int x, int y)>;

// Visits `window` and every window below it that still exists; (parentX, parentY) is the
// root position of the parent's drawing area, which the window's own position counts from.
void Walk(Display* display, Window window, int parentX, int parentY, const Visit& visit) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return;  // gone meanwhile
    int x = parentX + attributes.x + attributes.border_width;
    int y = parentY + attributes.y + attributes.border_width;
    visit(window, attributes, x, y);
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count; ++i) Walk(display, children[i], x, y, visit);
        if (children) XFree(children);
    }
}

void WalkTree(Display* display, const Visit& visit) {
    XSync(display, False);  // earlier requests' errors reach the handler they were made under
    handlerOutsideWalks = XSetErrorHandler(SkipVanishedWindows);
    Walk(display, DefaultRootWindow(display), 0, 0, visit);
    XSetErrorHandler(handlerOutsideWalks);
    handlerOutsideWalks = nullptr;
}

}  // namespace

XServer::XServer(int width, int height) {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe");
    std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        EndWithParent(SIGTERM, parent);
        close(fds[0]);
        int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 1);
        dup2(devnull, 2);
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
               "-nolisten", "tcp", "+extension", "GLX", "+extension", "RANDR", "+extension",
               "RECORD", "+extension", "XTEST", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) throw std::runtime_error("Xvfb did not start");
    name_ = ":" + number;
    setenv("DISPLAY", name_.c_str(), 1);
    for (int i = 0; i < 50 && display_ == nullptr; ++i) {
        display_ = XOpenDisplay(name_.c_str());
        if (!display_) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (display_ == nullptr) throw std::runtime_error("cannot connect to Xvfb");
}

XServer::~XServer() {
    if (display_) XCloseDisplay(display_);
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

Process::Process(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& folder, const std::string& logFile) {
    pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        EndWithParent(SIGKILL, parent);
        if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(126);
        if (!logFile.empty()) {
            int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (log >= 0) {
                dup2(log, 1);
                dup2(log, 2);
            }
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
}

Process::~Process() {
    if (!done_ && pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool Process::Running() {
    if (done_) return false;
    int status;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        done_ = true;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return false;
    }
    return true;
}

int Process::Wait(double seconds) {
    WaitFor([&] { return !Running(); }, seconds);
    return done_ ? status_ : -1;
}

std::string BinaryDir() {
    return QUENTARO_BINARY_DIR;
}
std::string ProgramPath() {
    return BinaryDir() + "/quentaro";
}

std::string MakeTempFolder() {
    char pattern[] = "/tmp/quentaro-test-XXXXXX";
    char* made = mkdtemp(pattern);
    if (made == nullptr) throw std::runtime_error("mkdtemp");
    return made;
}

void RemoveFolder(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

bool WaitFor(const std::function<bool()>& condition, double seconds) {
    double end = Now() + seconds;
    while (true) {
        if (condition()) return true;
        if (Now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::vector<FoundWindow> FindWindows(Display* display, const std::string& title) {
    std::vector<FoundWindow> found;
    WalkTree(display, [&](Window window, const XWindowAttributes& attributes, int x, int y) {
        if (attributes.map_state != IsViewable || WindowName(display, window) != title) return;
        FoundWindow w;
        w.window = window;
        w.x = x;
        w.y = y;
        w.width = attributes.width;
        w.height = attributes.height;
        found.push_back(w);
    });
    return found;
}

int CountWindowsNamed(Display* display, const std::string& title) {
    int count = 0;
    WalkTree(display, [&](Window window, const XWindowAttributes&, int, int) {
        count += WindowName(display, window) == title;
    });
    return count;
}

Screenshot Grab(Display* display, int x, int y, int width, int height) {
    Screenshot shot;
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, unsigned(width),
                              unsigned(height), AllPlanes, ZPixmap);
    if (image == nullptr) return shot;
    shot.width = width;
    shot.height = height;
    shot.pixels.resize(std::size_t(width) * height);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            shot.pixels[std::size_t(row) * width + column] =
                std::uint32_t(XGetPixel(image, column, row)) & 0xFFFFFFu;
    XDestroyImage(image);
    return shot;
}

bool SavePng(const Screenshot& shot, const std::string& path) {
    std::string ppm = path + ".ppm";
    {
        std::ofstream file(ppm, std::ios::binary);
        file << "P6\n" << shot.width << " " << shot.height << "\n255\n";
        for (std::uint32_t p : shot.pixels) {
            char rgb[3] = {char(p >> 16), char(p >> 8), char(p)};
            file.write(rgb, 3);
        }
    }
    std::string command = "convert '" + ppm + "' '" + path + "' 2>/dev/null";
    bool ok = std::system(command.c_str()) == 0;
    std::remove(ppm.c_str());
    return ok;
}

void WriteBmp(const std::string& path, int width, int height, std::uint32_t rgb) {
    const int rowBytes = (width * 3 + 3) & ~3;
    const std::uint32_t pixelBytes = std::uint32_t(rowBytes) * std::uint32_t(height);
    std::string bytes(54 + pixelBytes, '\0');
    auto put = [&](std::size_t at, std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes[at + i] = char((value >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, 54 + pixelBytes, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, std::uint32_t(width), 4);
    put(22, std::uint32_t(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, pixelBytes, 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::size_t at = 54 + std::size_t(y) * rowBytes + std::size_t(x) * 3;
            bytes[at] = char(rgb & 0xFF);
            bytes[at + 1] = char((rgb >> 8) & 0xFF);
            bytes[at + 2] = char((rgb >> 16) & 0xFF);
        }
    WriteFile(path, bytes);
}

ColourArea FindColour(const Screenshot& shot, std::uint32_t colour, int x0, int y0, int x1,
                      int y1) {
    ColourArea area;
    for (int y = std::max(y0, 0); y < std::min(y1, shot.height); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, shot.width); ++x) {
            if (shot.at(x, y) != colour) continue;
            if (area.count == 0) {
                area.left = area.right = x;
                area.top = area.bottom = y;
            }
            area.left = std::min(area.left, x);
            area.right = std::max(area.right, x);
            area.top = std::min(area.top, y);
            area.bottom = std::max(area.bottom, y);
            ++area.count;
        }
    return area;
}

Window FocusedWindow(Display* display) {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus == PointerRoot ? 0 : focus;
}

void MovePointer(Display* display, int x, int y) {
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XSync(display, False);
}

void TapKey(Display* display, unsigned long keysym, unsigned long modifierKeysym) {
    KeyCode modifier = modifierKeysym ? XKeysymToKeycode(display, modifierKeysym) : 0;
    KeyCode key = XKeysymToKeycode(display, keysym);
    if (modifier) XTestFakeKeyEvent(display, modifier, True, CurrentTime);
    XTestFakeKeyEvent(display, key, True, CurrentTime);
    XTestFakeKeyEvent(display, key, False, CurrentTime);
    if (modifier) XTestFakeKeyEvent(display, modifier, False, CurrentTime);
    XSync(display, False);
}

void RightClick(Display* display) {
    XTestFakeButtonEvent(display, 3, True, CurrentTime);
    XTestFakeButtonEvent(display, 3, False, CurrentTime);
    XSync(display, False);
}

void PressKey(Display* display, unsigned long keysym) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), True, CurrentTime);
    XSync(display, False);
}

void ReleaseKey(Display* display, unsigned long keysym) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), False, CurrentTime);
    XSync(display, False);
}

void PressButton(Display* display, unsigned button, bool down) {
    XTestFakeButtonEvent(display, button, down ? True : False, CurrentTime);
    XSync(display, False);
}

void SendCloseRequest(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}

}  // namespace harness
