// System-wide input of the Linux backend: every client's key-downs (auto-repeat included)
// and button presses, watched through the RECORD extension on a connection of their own
// and queued for NextEvent, plus the live key and button state for the engine's polling.
// Nothing is grabbed, so the focused window, ours or another program's, still gets it all.
#include <errno.h>

#include <bitset>
#include <cstdio>
#include <cstdlib>
#include <deque>

#include "platform/x11/x11_keymap.h"
#include "platform/x11/x11_platform.h"

// After Xlib, which it needs but does not include.
#include <X11/extensions/record.h>

namespace platform {

namespace {

// After a long pause one read can bring a burst; the queue stays bounded all the same.
constexpr std::size_t QUEUE_LIMIT = 4096;

struct CaptureState {
    Display* data = nullptr;  // the recording connection; nothing else is sent on it
    XRecordContext context = 0;
    bool keyboard = false;
    bool mouse = false;
    bool exitHandlerRegistered = false;
    bool stopping = false;
    KeycodeMap keycodes{};
    std::bitset<256> held;  // keycodes down, as the recorded stream tells
    std::deque<Event> queue;
};

CaptureState capture;

KeycodeMap& LiveKeycodes() {
    static bool read = false;
    static KeycodeMap map{};
    if (!read && X11Display()) {
        map = ReadKeycodeMap(X11Display());
        read = true;
    }
    return map;
}

bool AltHeld() {
    for (int code = 0; code < 256; ++code)
        if (capture.held[code] && PolledKeyCovers(18, capture.keycodes[code])) return true;
    return false;
}

void Queue(const Event& event) {
    if (capture.queue.size() < QUEUE_LIMIT) capture.queue.push_back(event);
}

void OnKey(int keycode, bool press) {
    // Alt is judged before this key changes it: Alt's own press is a system key-down anyway.
    bool altHeld = AltHeld();
    capture.held[keycode] = press;
    int virtualKey = capture.keycodes[keycode];
    if (!capture.keyboard || virtualKey == 0) return;
    Queue(
        Event{EventSource::Keyboard, KeyMessage(virtualKey, press, altHeld), unsigned(virtualKey)});
}

void OnRecorded(XPointer, XRecordInterceptData* recorded) {
    if (recorded->category == XRecordFromServer && recorded->data_len > 0) {
        int type = recorded->data[0] & 0x7F;
        int detail = recorded->data[1];
        if (type == KeyPress || type == KeyRelease) {
            OnKey(detail, type == KeyPress);
        } else if (type == ButtonPress && capture.mouse) {
            if (unsigned message = ButtonMessage(detail))
                Queue(Event{EventSource::Mouse, message, 0});
        }
    }
    XRecordFreeData(recorded);
}

void SeedHeldKeys(Display* display) {
    char keys[32];
    XQueryKeymap(display, keys);
    for (int code = 0; code < 256; ++code) capture.held[code] = (keys[code / 8] >> (code % 8)) & 1;
}

bool StartCapture() {
    if (capture.context) return true;
    Display* main = X11Display();
    if (main == nullptr) return false;
    int major = 0, minor = 0;
    if (!XRecordQueryVersion(main, &major, &minor)) {
        // Without it no key or button reaches the program: say why once.
        static bool said = false;
        if (!said)
            std::fprintf(stderr,
                         "%s: the X server has no RECORD extension: keys and mouse presses "
                         "cannot be taken\n",
                         program_invocation_short_name);
        said = true;
        return false;
    }
    capture.data = XOpenDisplay(DisplayString(main));
    if (capture.data == nullptr) return false;

    XRecordRange* range = XRecordAllocRange();
    if (range == nullptr) {
        XCloseDisplay(capture.data);
        capture.data = nullptr;
        return false;
    }
    // Key presses and releases (releases keep track of Alt) and button presses; no motion.
    range->device_events.first = KeyPress;
    range->device_events.last = ButtonPress;
    XRecordClientSpec clients = XRecordAllClients;
    capture.context = XRecordCreateContext(capture.data, 0, &clients, 1, &range, 1);
    XFree(range);
    XSync(capture.data, False);
    capture.keycodes = LiveKeycodes();
    SeedHeldKeys(main);
    if (capture.context == 0 ||
        !XRecordEnableContextAsync(capture.data, capture.context, OnRecorded, nullptr)) {
        if (capture.context) XRecordFreeContext(capture.data, capture.context);
        XCloseDisplay(capture.data);
        capture = CaptureState{};
        return false;
    }
    if (!capture.exitHandlerRegistered) {
        // The hooks stay until the process ends, so the end of the process stops them.
        capture.exitHandlerRegistered = std::atexit(StopInputCapture) == 0;
    }
    return true;
}

}  // namespace

bool TakeCapturedEvent(Event& event) {
    if (capture.data && capture.queue.empty()) XRecordProcessReplies(capture.data);
    if (capture.queue.empty()) return false;
    event = capture.queue.front();
    capture.queue.pop_front();
    return true;
}

void DiscardCapturedInput() {
    Display* main = X11Display();
    if (capture.data == nullptr || main == nullptr) return;
    // What the server has recorded by now is read and dropped; the keys held stay known.
    XSync(main, False);
    XRecordProcessReplies(capture.data);
    capture.queue.clear();
}

void StopInputCapture() {
    // Re-entry (an I/O error while stopping ends the process again) must not repeat this.
    if (capture.data == nullptr || capture.stopping) return;
    capture.stopping = true;
    Display* main = X11Display();
    if (main) {
        // Disable from the other connection and wait for the server: the recording
        // connection is deaf to its own requests while its context is enabled.
        XRecordDisableContext(main, capture.context);
        XSync(main, False);
        XRecordProcessReplies(capture.data);
        XRecordFreeContext(main, capture.context);
        XSync(main, False);
        XCloseDisplay(capture.data);
    }
    // Without the main connection the context cannot be disabled; leave the recording
    // connection to the end of the process rather than risk a close that never returns.
    bool registered = capture.exitHandlerRegistered;
    capture = CaptureState{};
    capture.exitHandlerRegistered = registered;
}

bool X11Platform::InstallKeyboardCapture() {
    if (!StartCapture()) return false;
    capture.keyboard = true;
    return true;
}

bool X11Platform::InstallMouseCapture() {
    if (!StartCapture()) return false;
    capture.mouse = true;
    return true;
}

// A pass of the engine polls some twenty keys and buttons one after the other; they are
// answered from one reading of the keymap and of the pointer taken within the last
// millisecond, not with a round trip to the server each.
constexpr long long LIVE_STATE_MICROSECONDS = 1000;

bool X11Platform::KeyHeld(int virtualKey) {
    if (display == nullptr || virtualKey <= 0 || virtualKey > 255) return false;
    unsigned buttonMask = virtualKey == 1   ? Button1Mask
                          : virtualKey == 2 ? Button3Mask
                          : virtualKey == 4 ? Button2Mask
                                            : 0;
    static long long pointerRead = -1, keymapRead = -1;
    static unsigned pointerMask = 0;
    static char keys[32];
    const long long now = SteadyMicroseconds();
    if (buttonMask) {
        if (pointerRead < 0 || now - pointerRead >= LIVE_STATE_MICROSECONDS) {
            Window root, child;
            int rootX, rootY, x, y;
            pointerMask = 0;
            XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x,
                          &y, &pointerMask);
            pointerRead = SteadyMicroseconds();
        }
        return (pointerMask & buttonMask) != 0;
    }
    const KeycodeMap& keycodes = LiveKeycodes();
    if (keymapRead < 0 || now - keymapRead >= LIVE_STATE_MICROSECONDS) {
        XQueryKeymap(display, keys);
        keymapRead = SteadyMicroseconds();
    }
    for (int code = 0; code < 256; ++code)
        if (keycodes[code] && PolledKeyCovers(virtualKey, keycodes[code]) &&
            ((keys[code / 8] >> (code % 8)) & 1))
            return true;
    return false;
}

}  // namespace platform
