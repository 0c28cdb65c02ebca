// A stand-in for the external player. It accepts the player's command line, opens a
// window with the player's title, takes the input focus as a freshly started desktop
// program would, and appends what it was given to "kelvo-standin.log" in its working
// folder: a line "pid N", one line "word W" per argument word, then "end". It stays
// until its window is closed, it is signalled, or two minutes pass.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr const char* TITLE = "Kelvo video and audio player";
constexpr const char* LOG_FILE = "kelvo-standin.log";
constexpr auto LIFETIME = std::chrono::seconds(120);

void WaitForMap(Display* display, Window window) {
    XEvent event;
    do {
        XWindowEvent(display, window, StructureNotifyMask, &event);
    } while (event.type != MapNotify);
}

// One write with O_APPEND: records of players started together never interleave.
bool Record(int argc, char** argv) {
    std::string record = "pid " + std::to_string(getpid()) + "\n";
    for (int i = 1; i < argc; ++i) record += std::string("word ") + argv[i] + "\n";
    record += "end\n";
    int fd = open(LOG_FILE, O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0) return false;
    bool written = write(fd, record.data(), record.size()) == ssize_t(record.size());
    close(fd);
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "kelvo stand-in: cannot open the display\n");
        return 1;
    }
    int screen = DefaultScreen(display);
    // A size the browser never asks for, so a test sees that it was moved.
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 320, 200, 0,
                                        BlackPixel(display, screen), 0x2050C0);
    XStoreName(display, window, TITLE);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(TITLE), int(std::strlen(TITLE)));
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XSelectInput(display, window, StructureNotifyMask | ExposureMask);
    XMapRaised(display, window);
    WaitForMap(display, window);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
    if (!Record(argc, argv)) std::fprintf(stderr, "kelvo stand-in: cannot write %s\n", LOG_FILE);

    auto end = std::chrono::steady_clock::now() + LIFETIME;
    while (std::chrono::steady_clock::now() < end) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && Atom(event.xclient.data.l[0]) == deleteWindow) {
                XCloseDisplay(display);
                return 0;
            }
        }
        pollfd wait{ConnectionNumber(display), POLLIN, 0};
        poll(&wait, 1, 500);
    }
    XCloseDisplay(display);
    return 0;
}
