// Modal message boxes of the Linux backend: a small window with the text and one or
// two buttons, drawn with the core X font. The calling thread waits in its own event
// loop until a button is pressed (mouse, Enter, Escape, or the button's first letter).
#include <X11/Xatom.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cctype>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/x11/x11_platform.h"

namespace platform {

namespace {

constexpr int BUTTON_WIDTH = 80;
constexpr int BUTTON_HEIGHT = 24;
constexpr int MARGIN = 16;

std::vector<std::string> SplitLines(const char* text) {
    std::vector<std::string> lines(1);
    for (const char* c = text; *c; ++c) {
        if (*c == '\n')
            lines.emplace_back();
        else
            lines.back() += *c;
    }
    return lines;
}

Bool ForWindow(Display*, XEvent* event, XPointer window) {
    return event->xany.window == *reinterpret_cast<Window*>(window);
}

}  // namespace

int RunDialog(Display* display, const char* text, const char* caption, const char* const* buttons,
              int buttonCount) {
    // Anyone watching a terminal sees the message too; without a display it is all we have.
    std::fprintf(stderr, "%s: %s\n", caption, text);
    if (display == nullptr) return buttonCount - 1;

    XFontStruct* font = XLoadQueryFont(display, "fixed");
    if (font == nullptr) return buttonCount - 1;
    std::vector<std::string> lines = SplitLines(text);
    int lineHeight = font->ascent + font->descent + 2;
    int textWidth = 0;
    for (const std::string& line : lines)
        textWidth = std::max(textWidth, XTextWidth(font, line.c_str(), int(line.size())));
    int width = std::max(textWidth, buttonCount * (BUTTON_WIDTH + MARGIN)) + 2 * MARGIN;
    int height = int(lines.size()) * lineHeight + BUTTON_HEIGHT + 3 * MARGIN;

    int screen = DefaultScreen(display);
    int x = (DisplayWidth(display, screen) - width) / 2;
    int y = (DisplayHeight(display, screen) - height) / 2;
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), x, y, unsigned(width),
                                        unsigned(height), 1, BlackPixel(display, screen),
                                        WhitePixel(display, screen));
    XStoreName(display, window, caption);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    Atom dialogType = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM,
                    32, PropModeReplace, reinterpret_cast<unsigned char*>(&dialogType), 1);
    XSelectInput(display, window, ExposureMask | ButtonPressMask | KeyPressMask);
    XMapRaised(display, window);
    GC gc = XCreateGC(display, window, 0, nullptr);
    XSetFont(display, gc, font->fid);
    XSetForeground(display, gc, BlackPixel(display, screen));

    int buttonsLeft = (width - buttonCount * BUTTON_WIDTH - (buttonCount - 1) * MARGIN) / 2;
    int buttonsTop = height - MARGIN - BUTTON_HEIGHT;
    auto buttonAt = [&](int px, int py) {
        for (int b = 0; b < buttonCount; ++b) {
            int left = buttonsLeft + b * (BUTTON_WIDTH + MARGIN);
            if (px >= left && px < left + BUTTON_WIDTH && py >= buttonsTop &&
                py < buttonsTop + BUTTON_HEIGHT)
                return b;
        }
        return -1;
    };

    int chosen = -1;
    bool focusGiven = false;
    while (chosen < 0) {
        // Events of other windows stay queued: a close request made meanwhile is still
        // seen by the main loop once the box is answered.
        XEvent event;
        XIfEvent(display, &event, ForWindow, reinterpret_cast<XPointer>(&window));
        switch (event.type) {
        case Expose:
            if (!focusGiven) {
                XSetInputFocus(display, window, RevertToParent, CurrentTime);
                focusGiven = true;
            }
            for (size_t i = 0; i < lines.size(); ++i)
                XDrawString(display, window, gc, MARGIN,
                            MARGIN + font->ascent + int(i) * lineHeight, lines[i].c_str(),
                            int(lines[i].size()));
            for (int b = 0; b < buttonCount; ++b) {
                int left = buttonsLeft + b * (BUTTON_WIDTH + MARGIN);
                XDrawRectangle(display, window, gc, left, buttonsTop, BUTTON_WIDTH, BUTTON_HEIGHT);
                int labelWidth = XTextWidth(font, buttons[b], int(std::strlen(buttons[b])));
                XDrawString(display, window, gc, left + (BUTTON_WIDTH - labelWidth) / 2,
                            buttonsTop + (BUTTON_HEIGHT + font->ascent) / 2, buttons[b],
                            int(std::strlen(buttons[b])));
            }
            break;
        case ButtonPress:
            chosen = buttonAt(event.xbutton.x, event.xbutton.y);
            break;
        case KeyPress: {
            KeySym key = XLookupKeysym(&event.xkey, 0);
            if (key == XK_Return || key == XK_KP_Enter) chosen = 0;
            if (key == XK_Escape) chosen = buttonCount - 1;
            for (int b = 0; b < buttonCount; ++b)
                if (std::tolower(buttons[b][0]) == int(key)) chosen = b;
            break;
        }
        case ClientMessage:
            if (Atom(event.xclient.data.l[0]) == deleteWindow) chosen = buttonCount - 1;
            break;
        default:
            break;
        }
    }
    XFreeGC(display, gc);
    XFreeFont(display, font);
    XDestroyWindow(display, window);
    XFlush(display);
    return chosen;
}

void X11Platform::ShowMessage(const char* text, const char* caption, MessageIcon) {
    const char* ok[] = {"OK"};
    RunDialog(display, text, caption, ok, 1);
    DiscardCapturedInput();
}

bool X11Platform::AskYesNo(const char* text, const char* caption, MessageIcon) {
    const char* yesNo[] = {"Yes", "No"};
    const bool yes = RunDialog(display, text, caption, yesNo, 2) == 0;
    DiscardCapturedInput();
    return yes;
}

}  // namespace platform
