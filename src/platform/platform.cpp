// The platform in force: the real backend of this system, or a test's double.
#include "platform/platform.h"

#if defined(_WIN32)
#include "platform/win32/win32_platform.h"
#else
#include "platform/x11/x11_platform.h"
#endif

namespace platform {

namespace {
Platform* replacement = nullptr;
std::string windowClass;
}  // namespace

Platform& Sys() {
#if defined(_WIN32)
    static Win32Platform real;
#else
    static X11Platform real;
#endif
    return replacement ? *replacement : real;
}

void SetSys(Platform* platform) {
    replacement = platform;
}

void SetWindowClass(const std::string& name) {
    windowClass = name;
}

const std::string& WindowClass() {
    return windowClass;
}

}  // namespace platform
