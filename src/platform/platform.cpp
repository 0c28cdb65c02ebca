// The platform in force: the real backend of this system, or a test's double.
#include "platform/platform.h"

#if defined(_WIN32)
#error "the Windows backend is not written yet"
#else
#include "platform/x11/x11_platform.h"
#endif

namespace platform {

namespace {
Platform* replacement = nullptr;
}

Platform& Sys() {
    static X11Platform real;
    return replacement ? *replacement : real;
}

void SetSys(Platform* platform) {
    replacement = platform;
}

}  // namespace platform
