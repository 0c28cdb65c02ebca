// System-wide input of the Linux backend: every client's key-downs (auto-repeat included)
// and button presses, watched through the RECORD extension on a connection of their own
// and queued for NextEvent, plus the key and button state for the engine's polling, read
// from the same stream so that a press between two polls is not lost. Nothing is grabbed,
// so the focused window, ours or another program's, still gets it all.
#include <errno.h>

#include <array>
#include <bitset>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <vector>

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
    std::array<std::vector<unsigned char>, 256> codesOfKey;  // the keycodes a poll of a key covers
    std::bitset<256> held;     // keycodes down, as the recorded stream tells
    std::bitset<256> pressed;  // keycodes that went down since their key was last polled
    unsigned buttonsHeld = 0, buttonsPressed = 0;  // the same for buttons 1-3, one bit each
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
    // The auto-repeat of a held key is no new press: a poll already finds it held.
    if (press && !capture.held[keycode]) capture.pressed[keycode] = true;
    capture.held[keycode] = press;
    int virtualKey = capture.keycodes[keycode];
    if (!capture.keyboard || virtualKey == 0) return;
    Queue(
        Event{EventSource::Keyboard, KeyMessage(virtualKey, press, altHeld), unsigned(virtualKey)});
}

// The bit of pointer button 1, 2 or 3 in buttonsHeld and buttonsPressed; 0 for the others.
unsigned ButtonBit(int button) {
    return button >= Button1 && button <= Button3 ? 1u << (button - Button1) : 0;
}

void OnButton(int button, bool press) {
    const unsigned bit = ButtonBit(button);
    if (press && !(capture.buttonsHeld & bit)) capture.buttonsPressed |= bit;
    capture.buttonsHeld = press ? capture.buttonsHeld | bit : capture.buttonsHeld & ~bit;
    if (press && capture.mouse)
        if (unsigned message = ButtonMessage(button)) Queue(Event{EventSource::Mouse, message, 0});
}

void OnRecorded(XPointer, XRecordInterceptData* recorded) {
    if (recorded->category == XRecordFromServer && recorded->data_len > 0) {
        int type = recorded->data[0] & 0x7F;
        int detail = recorded->data[1];
        if (type == KeyPress || type == KeyRelease)
            OnKey(detail, type == KeyPress);
        else if (type == ButtonPress || type == ButtonRelease)
            OnButton(detail, type == ButtonPress);
    }
    XRecordFreeData(recorded);
}

// The server's mask of the pointer buttons held at this moment.
unsigned PointerButtons(Display* display) {
    Window root, child;
    int rootX, rootY, x, y;
    unsigned mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y,
                  &mask);
    return mask;
}

void SeedHeldKeys(Display* display) {
    char keys[32];
    XQueryKeymap(display, keys);
    for (int code = 0; code < 256; ++code) capture.held[code] = (keys[code / 8] >> (code % 8)) & 1;
    const unsigned mask = PointerButtons(display);
    capture.buttonsHeld = ((mask & Button1Mask) ? ButtonBit(Button1) : 0) |
                          ((mask & Button2Mask) ? ButtonBit(Button2) : 0) |
                          ((mask & Button3Mask) ? ButtonBit(Button3) : 0);
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
    // Key and button presses and releases (releases keep the held state); no motion.
    range->device_events.first = KeyPress;
    range->device_events.last = ButtonRelease;
    XRecordClientSpec clients = XRecordAllClients;
    capture.context = XRecordCreateContext(capture.data, 0, &clients, 1, &range, 1);
    XFree(range);
    XSync(capture.data, False);
    capture.keycodes = LiveKeycodes();
    for (int key = 1; key < 256; ++key)
        for (int code = 0; code < 256; ++code)
            if (capture.keycodes[code] && PolledKeyCovers(key, capture.keycodes[code]))
                capture.codesOfKey[key].push_back((unsigned char)code);
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
    capture.pressed.reset();
    capture.buttonsPressed = 0;
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

// A pass of the engine polls some twenty keys and buttons one after the other; the recorded
// stream is read for them once within a millisecond, not once each. The held state and the
// presses both come from it, in the order the server saw them.
constexpr long long LIVE_STATE_MICROSECONDS = 1000;

namespace {

// Where the server offers no recording: the state of this moment only, so a press between two
// polls is missed.
bool HeldNowOnServer(Display* display, int virtualKey, unsigned buttonMask) {
    if (buttonMask) return (PointerButtons(display) & buttonMask) != 0;
    char keys[32];
    XQueryKeymap(display, keys);
    const KeycodeMap& keycodes = LiveKeycodes();
    for (int code = 0; code < 256; ++code)
        if (keycodes[code] && PolledKeyCovers(virtualKey, keycodes[code]) &&
            ((keys[code / 8] >> (code % 8)) & 1))
            return true;
    return false;
}

// Virtual keys 1, 2 and 4 are the left, right and middle buttons; 0 for a key.
int ButtonOfKey(int virtualKey) {
    return virtualKey == 1 ? Button1 : virtualKey == 2 ? Button3 : virtualKey == 4 ? Button2 : 0;
}

// The recorded stream read up to now, once within LIVE_STATE_MICROSECONDS; false where the
// server offers no recording. The recording starts with the first poll where no hook asked
// for it, and a server that refused it once is not asked again.
bool StreamRead(long long now) {
    static bool recordingRefused = false;
    if (capture.data == nullptr && !recordingRefused) recordingRefused = !StartCapture();
    if (capture.data == nullptr) return false;
    static long long streamRead = -1;
    if (streamRead < 0 || now - streamRead >= LIVE_STATE_MICROSECONDS) {
        XRecordProcessReplies(capture.data);
        streamRead = now;
    }
    return true;
}

}  // namespace

bool X11Platform::KeyHeld(int virtualKey) {
    if (display == nullptr || virtualKey <= 0 || virtualKey > 255) return false;
    const int button = ButtonOfKey(virtualKey);
    if (!StreamRead(SteadyMicroseconds())) {
        const unsigned masks[] = {0, Button1Mask, Button2Mask, Button3Mask};
        return HeldNowOnServer(display, virtualKey, masks[button]);
    }
    if (button) return (capture.buttonsHeld & ButtonBit(button)) != 0;
    for (unsigned char code : capture.codesOfKey[virtualKey])
        if (capture.held[code]) return true;
    return false;
}

bool X11Platform::KeyPressed(int virtualKey) {
    if (display == nullptr || virtualKey <= 0 || virtualKey > 255) return false;
    if (!StreamRead(SteadyMicroseconds())) return false;
    if (const int button = ButtonOfKey(virtualKey)) {
        const unsigned bit = ButtonBit(button);
        const bool pressed = (capture.buttonsPressed & bit) != 0;
        capture.buttonsPressed &= ~bit;
        return pressed;
    }
    bool pressed = false;
    for (unsigned char code : capture.codesOfKey[virtualKey]) {
        pressed = pressed || capture.pressed[code];
        capture.pressed[code] = false;
    }
    return pressed;
}

}  // namespace platform
