// X protocol errors. Xlib's own handler ends the process on any error, and errors arrive
// late: a refused GL context or window is reported after the call that asked for it has
// returned. The program's handler says what happened on stderr and carries on; the calls
// whose failure the shell must hear of check for errors with IgnoredXErrors.
#include <errno.h>

#include <cstdio>

#include "platform/x11/x11_platform.h"

namespace platform {

namespace {

int counted = 0;  // errors seen by the handler of the innermost IgnoredXErrors

int CountXError(Display*, XErrorEvent*) {
    ++counted;
    return 0;
}

int ReportXError(Display* display, XErrorEvent* error) {
    char text[256] = "";
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "%s: X error: %s (request %d.%d)\n", program_invocation_short_name, text,
                 int(error->request_code), int(error->minor_code));
    return 0;
}

}  // namespace

void ReportXErrors() {
    XSetErrorHandler(ReportXError);
}

IgnoredXErrors::IgnoredXErrors(Display* display) : display_(display) {
    XSync(display_, False);
    counted = 0;
    previous_ = XSetErrorHandler(CountXError);
}

IgnoredXErrors::~IgnoredXErrors() {
    XSync(display_, False);
    XSetErrorHandler(previous_);
}

bool IgnoredXErrors::Failed() {
    XSync(display_, False);
    return counted != 0;
}

}  // namespace platform
