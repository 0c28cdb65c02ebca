// The main window of the Linux backend: display connection, a borderless top-level
// window with a double-buffered GLX context, its events, cursor and placement, and
// the fullscreen mode change through XRandR. The shell's window code drives these
// steps one by one so it can report each failure in its own words.
#include <X11/Xatom.h>
#include <X11/extensions/Xrandr.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/x11/x11_platform.h"

namespace platform {

namespace {

struct MainWindowState {
    Window window = 0;
    bool deviceContext = false;
    XVisualInfo* visual = nullptr;  // chosen when the window is created
    bool visualMatches = false;
    bool pixelFormatSet = false;
    Colormap colormap = 0;
    GLXContext context = nullptr;
    Cursor blankCursor = 0;
    Atom deleteWindow = 0;
    int x = 0, y = 0, width = 0, height = 0;  // as the last ConfigureNotify told
    int classRegistrations = 0;
    bool focused = false;
    bool closePending = false;  // a close request found among the events of a window made anew
    std::chrono::steady_clock::time_point lastSaverNotice;
    bool saverNoticePending = false;
    // Fullscreen mode change: the CRTC and mode to restore.
    RRCrtc savedCrtc = 0;
    RRMode savedMode = 0;
    bool modeChanged = false;
};

MainWindowState state;
Display* mainDisplay = nullptr;

// How often the screen saver is announced to the window while it has the focus; the
// window procedure holds it off by not passing the notice on.
constexpr auto SAVER_NOTICE_INTERVAL = std::chrono::seconds(20);

void WaitForMapped(Display* display, Window window) {
    // Focus can only be given to a viewable window; wait a little for the map.
    for (int i = 0; i < 200; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, window, &attributes) &&
            attributes.map_state == IsViewable)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool WindowManagerRunning(Display* display) {
    Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == 0) return false;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    bool running =
        XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                           &type, &format, &count, &after, &data) == Success &&
        data != nullptr && count == 1;
    if (data) XFree(data);
    return running;
}

}  // namespace

Display* X11Display() {
    return mainDisplay;
}

bool X11Platform::Connect(std::string& why) {
    if (display) return true;
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        why = "no display to connect to: DISPLAY is not set";
        return false;
    }
    // A loaded machine can refuse the first attempts (EAGAIN); try a few times.
    for (int attempt = 0; attempt < 10 && display == nullptr; ++attempt) {
        display = XOpenDisplay(nullptr);
        if (display == nullptr) std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    if (display == nullptr) {
        why = std::string("cannot open display '") + name + "'";
        if (errno != 0) why += std::string(": ") + std::strerror(errno);
        return false;
    }
    mainDisplay = display;
    ReportXErrors();
    return true;
}

MonitorArea OriginMonitor(const std::vector<MonitorArea>& monitors, int screenWidth,
                          int screenHeight) {
    for (const MonitorArea& m : monitors)
        if (m.width > 0 && m.height > 0 && m.x <= 0 && 0 < m.x + m.width && m.y <= 0 &&
            0 < m.y + m.height)
            return m;
    return MonitorArea{0, 0, screenWidth, screenHeight};
}

namespace {

// The monitor the window is placed on, from the server's monitor list where it has one.
MonitorArea WindowMonitor(Display* display) {
    const int screen = DefaultScreen(display);
    std::vector<MonitorArea> areas;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (XRRQueryExtension(display, &eventBase, &errorBase) &&
        XRRQueryVersion(display, &major, &minor) && (major > 1 || (major == 1 && minor >= 5))) {
        int count = 0;
        XRRMonitorInfo* monitors =
            XRRGetMonitors(display, RootWindow(display, screen), True, &count);
        for (int i = 0; monitors && i < count; ++i)
            areas.push_back({monitors[i].x, monitors[i].y, monitors[i].width, monitors[i].height});
        if (monitors) XRRFreeMonitors(monitors);
    }
    return OriginMonitor(areas, DisplayWidth(display, screen), DisplayHeight(display, screen));
}

}  // namespace

int X11Platform::ScreenWidth() {
    return display ? WindowMonitor(display).width : 0;
}
int X11Platform::ScreenHeight() {
    return display ? WindowMonitor(display).height : 0;
}

// X has no window classes; the count keeps registration and unregistration paired.
bool X11Platform::RegisterWindowClass() {
    if (display == nullptr) return false;
    ++state.classRegistrations;
    return true;
}

bool X11Platform::UnregisterWindowClass() {
    if (state.classRegistrations == 0) return false;
    --state.classRegistrations;
    return true;
}

bool X11Platform::ChangeDisplayMode(int width, int height, int) {
    if (display == nullptr) return false;
    int eventBase, errorBase;
    if (!XRRQueryExtension(display, &eventBase, &errorBase)) return false;
    Window root = DefaultRootWindow(display);
    XRRScreenResources* resources = XRRGetScreenResources(display, root);
    if (resources == nullptr) return false;
    bool changed = false;
    RROutput primary = XRRGetOutputPrimary(display, root);
    RROutput output = primary ? primary : (resources->noutput > 0 ? resources->outputs[0] : 0);
    XRROutputInfo* outputInfo = output ? XRRGetOutputInfo(display, resources, output) : nullptr;
    if (outputInfo && outputInfo->crtc) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, outputInfo->crtc);
        for (int m = 0; crtc && m < outputInfo->nmode && !changed; ++m) {
            for (int k = 0; k < resources->nmode; ++k) {
                const XRRModeInfo& mode = resources->modes[k];
                if (mode.id != outputInfo->modes[m] || int(mode.width) != width ||
                    int(mode.height) != height)
                    continue;
                if (!state.modeChanged) {
                    state.savedCrtc = outputInfo->crtc;
                    state.savedMode = crtc->mode;
                }
                changed = XRRSetCrtcConfig(display, resources, outputInfo->crtc, CurrentTime, 0, 0,
                                           mode.id, crtc->rotation, &output, 1) == Success;
                break;
            }
        }
        if (crtc) XRRFreeCrtcInfo(crtc);
    }
    if (outputInfo) XRRFreeOutputInfo(outputInfo);
    XRRFreeScreenResources(resources);
    if (changed) state.modeChanged = true;
    return changed;
}

void X11Platform::RestoreDisplayMode() {
    if (display == nullptr || !state.modeChanged) return;
    Window root = DefaultRootWindow(display);
    XRRScreenResources* resources = XRRGetScreenResources(display, root);
    if (resources == nullptr) return;
    XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, state.savedCrtc);
    if (crtc) {
        XRRSetCrtcConfig(display, resources, state.savedCrtc, CurrentTime, crtc->x, crtc->y,
                         state.savedMode, crtc->rotation, crtc->outputs, crtc->noutput);
        XRRFreeCrtcInfo(crtc);
    }
    XRRFreeScreenResources(resources);
    state.modeChanged = false;
}

bool X11Platform::CreateMainWindow(const char* title, int x, int y, int width, int height) {
    if (display == nullptr || state.window != 0) return false;
    int screen = DefaultScreen(display);
    Window root = RootWindow(display, screen);

    // GLX needs the visual when the window is made: choose it now, judge it later in
    // ChoosePixelFormat.
    int attributes[] = {
        GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE,
        1,        GLX_DEPTH_SIZE,   16,           0};
    state.visual = glXChooseVisual(display, screen, attributes);
    state.visualMatches = state.visual != nullptr;
    Visual* visual = state.visual ? state.visual->visual : DefaultVisual(display, screen);
    int depth = state.visual ? state.visual->depth : DefaultDepth(display, screen);

    state.colormap = XCreateColormap(display, root, visual, AllocNone);
    XSetWindowAttributes set{};
    set.colormap = state.colormap;
    set.background_pixel = 0;
    set.border_pixel = 0;
    set.event_mask = StructureNotifyMask | FocusChangeMask | ExposureMask;
    // The server may refuse the window (a size it cannot make): that error comes late.
    IgnoredXErrors guard(display);
    state.window =
        XCreateWindow(display, root, x, y, unsigned(width), unsigned(height), 0, depth, InputOutput,
                      visual, CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &set);
    if (state.window != 0 && guard.Failed()) {
        XDestroyWindow(display, state.window);
        state.window = 0;
    }
    if (state.window == 0) {
        XFreeColormap(display, state.colormap);
        if (state.visual) XFree(state.visual);
        state.colormap = 0;
        state.visual = nullptr;
        state.visualMatches = false;
        return false;
    }

    XStoreName(display, state.window, title);
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, state.window, XInternAtom(display, "_NET_WM_NAME", False), utf8, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(title),
                    int(std::strlen(title)));
    // The instance name, and the class name it gives with a capital.
    std::string name = WindowClass().empty() ? "quentaro" : WindowClass();
    std::string className = name;
    className[0] = char(std::toupper(static_cast<unsigned char>(className[0])));
    XClassHint classHint{name.data(), className.data()};
    XSetClassHint(display, state.window, &classHint);

    // No decorations: the window is its own drawing area, as the cursor mapping expects.
    struct {
        unsigned long flags, functions, decorations;
        long inputMode;
        unsigned long status;
    } motif = {2, 0, 0, 0, 0};
    Atom motifHints = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, state.window, motifHints, motifHints, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&motif), 5);
    XSizeHints sizeHints{};
    sizeHints.flags = USPosition | PPosition | USSize | PSize;
    sizeHints.x = x;
    sizeHints.y = y;
    sizeHints.width = width;
    sizeHints.height = height;
    XSetWMNormalHints(display, state.window, &sizeHints);
    XWMHints wmHints{};
    wmHints.flags = InputHint | StateHint;
    wmHints.input = True;
    wmHints.initial_state = NormalState;
    XSetWMHints(display, state.window, &wmHints);

    state.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, state.window, &state.deleteWindow, 1);
    state.x = x;
    state.y = y;
    state.width = width;
    state.height = height;
    return true;
}

bool X11Platform::GetDeviceContext() {
    state.deviceContext = state.window != 0;
    return state.deviceContext;
}

bool X11Platform::ChoosePixelFormat(const PixelFormatWanted& wanted) {
    if (!state.visualMatches || !wanted.doubleBuffer) return false;
    int depthSize = 0, doubleBuffer = 0;
    glXGetConfig(display, state.visual, GLX_DEPTH_SIZE, &depthSize);
    glXGetConfig(display, state.visual, GLX_DOUBLEBUFFER, &doubleBuffer);
    return depthSize >= wanted.depthBits && doubleBuffer;
}

bool X11Platform::SetPixelFormat() {
    state.pixelFormatSet = state.visualMatches;
    return state.pixelFormatSet;
}

bool X11Platform::CreateGlContext() {
    if (!state.pixelFormatSet) return false;
    // A context the server refuses (indirect rendering turned off, as over a forwarded
    // connection) is handed out all the same; the refusal follows as an X error.
    IgnoredXErrors guard(display);
    state.context = glXCreateContext(display, state.visual, nullptr, True);
    if (state.context != nullptr && guard.Failed()) {
        glXDestroyContext(display, state.context);
        state.context = nullptr;
    }
    return state.context != nullptr;
}

bool X11Platform::MakeGlContextCurrent() {
    if (state.context == nullptr) return false;
    IgnoredXErrors guard(display);
    if (!glXMakeCurrent(display, state.window, state.context) || guard.Failed()) return false;
    // Pace presentation at the display's refresh where the driver lets us.
    using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
    using SwapIntervalMesa = int (*)(unsigned);
    if (auto ext = reinterpret_cast<SwapIntervalExt>(
            glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")))) {
        const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
        if (extensions && std::strstr(extensions, "GLX_EXT_swap_control"))
            ext(display, state.window, 1);
    } else if (auto mesa = reinterpret_cast<SwapIntervalMesa>(
                   glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")))) {
        mesa(1);
    }
    return true;
}

void X11Platform::ShowAndFocusMainWindow() {
    if (state.window == 0) return;
    XMapRaised(display, state.window);
    XSync(display, False);
    WaitForMapped(display, state.window);
    // Some window managers place new windows themselves: put it back at its place.
    XMoveWindow(display, state.window, 0, 0);
    if (!WindowManagerRunning(display)) {
        IgnoredXErrors guard(display);
        XSetInputFocus(display, state.window, RevertToParent, CurrentTime);
    } else {
        XEvent activate{};
        activate.xclient.type = ClientMessage;
        activate.xclient.window = state.window;
        activate.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
        activate.xclient.format = 32;
        activate.xclient.data.l[0] = 1;
        XSendEvent(display, DefaultRootWindow(display), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &activate);
    }
    XFlush(display);
    state.focused = true;
    state.lastSaverNotice = std::chrono::steady_clock::now();
}

bool X11Platform::HasGlContext() {
    return state.context != nullptr;
}

bool X11Platform::ReleaseGlContext() {
    return display && glXMakeCurrent(display, 0, nullptr);
}

bool X11Platform::DeleteGlContext() {
    if (state.context == nullptr) return false;
    glXDestroyContext(display, state.context);
    state.context = nullptr;
    return true;
}

bool X11Platform::HasDeviceContext() {
    return state.deviceContext;
}

bool X11Platform::ReleaseDeviceContext() {
    bool had = state.deviceContext;
    state.deviceContext = false;
    state.pixelFormatSet = false;
    return had;
}

bool X11Platform::HasMainWindow() {
    return state.window != 0;
}

bool X11Platform::DestroyMainWindow() {
    if (state.window == 0) return false;
    XDestroyWindow(display, state.window);
    if (state.colormap) XFreeColormap(display, state.colormap);
    if (state.visual) XFree(state.visual);
    if (state.blankCursor) XFreeCursor(display, state.blankCursor);
    state.window = 0;
    state.colormap = 0;
    state.visual = nullptr;
    state.visualMatches = false;
    state.blankCursor = 0;
    state.focused = false;
    XSync(display, False);
    // Drop what the old window still had queued, the new one starts clean; but a close
    // request made meanwhile still ends the program.
    XEvent discard;
    while (XPending(display)) {
        XNextEvent(display, &discard);
        if (discard.type == ClientMessage && Atom(discard.xclient.data.l[0]) == state.deleteWindow)
            state.closePending = true;
    }
    return true;
}

void X11Platform::SwapBuffers() {
    if (state.window && state.context) glXSwapBuffers(display, state.window);
}

WindowRect X11Platform::MainWindowRect() {
    WindowRect rect;
    if (state.window == 0) return rect;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, state.window, &attributes)) return rect;
    int rootX = 0, rootY = 0;
    Window child;
    XTranslateCoordinates(display, state.window, DefaultRootWindow(display), 0, 0, &rootX, &rootY,
                          &child);
    rect.left = rootX;
    rect.top = rootY;
    rect.right = rootX + attributes.width;
    rect.bottom = rootY + attributes.height;
    return rect;
}

void X11Platform::MoveMainWindow(int x, int y, int width, int height) {
    if (state.window == 0) return;
    XSizeHints sizeHints{};
    sizeHints.flags = USPosition | PPosition | USSize | PSize;
    sizeHints.x = x;
    sizeHints.y = y;
    sizeHints.width = width;
    sizeHints.height = height;
    XSetWMNormalHints(display, state.window, &sizeHints);
    XMoveResizeWindow(display, state.window, x, y, unsigned(width), unsigned(height));
    XFlush(display);
}

void X11Platform::ShowSystemCursor(bool show) {
    if (state.window == 0) return;
    if (show) {
        XUndefineCursor(display, state.window);
    } else {
        if (state.blankCursor == 0) {
            char empty[8] = {};
            Pixmap bitmap = XCreateBitmapFromData(display, state.window, empty, 8, 8);
            XColor black{};
            state.blankCursor = XCreatePixmapCursor(display, bitmap, bitmap, &black, &black, 0, 0);
            XFreePixmap(display, bitmap);
        }
        XDefineCursor(display, state.window, state.blankCursor);
    }
    XFlush(display);
}

bool X11Platform::NextEvent(Event& event) {
    if (display == nullptr) return false;
    if (state.saverNoticePending) {
        // The window kept the notice to itself: hold the screen saver off.
        XResetScreenSaver(display);
        state.saverNoticePending = false;
    }
    if (TakeCapturedEvent(event)) return true;
    if (state.closePending) {
        state.closePending = false;
        event = Event{EventSource::Window, MSG_CLOSE, 0};
        return true;
    }

    auto now = std::chrono::steady_clock::now();
    if (state.focused && state.window && now - state.lastSaverNotice >= SAVER_NOTICE_INTERVAL) {
        state.lastSaverNotice = now;
        state.saverNoticePending = true;
        event = Event{EventSource::Window, MSG_SYSCOMMAND, SC_SCREEN_SAVE};
        return true;
    }

    if (XPending(display) == 0) return false;
    XEvent x;
    XNextEvent(display, &x);
    event = Event{EventSource::Window, 0, 0};
    if (x.xany.window != state.window || state.window == 0) return true;
    switch (x.type) {
    case ClientMessage:
        if (Atom(x.xclient.data.l[0]) == state.deleteWindow) event.message = MSG_CLOSE;
        break;
    case FocusIn:
        state.focused = true;
        event.message = MSG_ACTIVATE;
        event.param = 1;
        break;
    case FocusOut:
        state.focused = false;
        event.message = MSG_ACTIVATE;
        event.param = 0;
        break;
    case Expose:
        // The last of a series: the whole window is shown again at once.
        if (x.xexpose.count == 0) event.message = MSG_PAINT;
        break;
    case ConfigureNotify: {
        const XConfigureEvent& c = x.xconfigure;
        if (c.width != state.width || c.height != state.height) {
            event.message = MSG_SIZE;
        } else if (c.x != state.x || c.y != state.y) {
            event.message = MSG_MOVE;
        }
        state.x = c.x;
        state.y = c.y;
        state.width = c.width;
        state.height = c.height;
        break;
    }
    default:
        break;
    }
    return true;
}

void X11Platform::DefaultWindowEvent(const Event& event) {
    if (event.message == MSG_SYSCOMMAND &&
        (event.param == SC_SCREEN_SAVE || event.param == SC_MONITOR_POWER))
        state.saverNoticePending = false;  // passed on: let the saver start
    if (event.message == MSG_CLOSE && state.window) DestroyMainWindow();
}

void X11Platform::CursorPosition(int& x, int& y) {
    x = y = 0;
    if (display == nullptr) return;
    Window rootReturn, childReturn;
    int winX, winY;
    unsigned mask;
    XQueryPointer(display, DefaultRootWindow(display), &rootReturn, &childReturn, &x, &y, &winX,
                  &winY, &mask);
}

void X11Platform::MoveCursor(int x, int y) {
    if (display == nullptr) return;
    XWarpPointer(display, 0, DefaultRootWindow(display), 0, 0, 0, 0, x, y);
    XFlush(display);
}

void X11Platform::Pause(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void X11Platform::PauseMicroseconds(long long microseconds) {
    if (microseconds > 0) std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
}

long long X11Platform::CalendarSeconds() {
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

long long X11Platform::SteadyMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace platform
