// The start of quentaro.exe and korvis.exe, desktop programs that open no console window of
// their own: started from a console, they write their help, version and messages there as a
// console program would. Linked into the two programs themselves, ahead of their main.
#include <cstdio>

#include "platform/win32/win32_platform.h"

namespace {

bool Unset(DWORD stream) {
    HANDLE handle = GetStdHandle(stream);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
}

// Streams redirected to a file or a pipe stay where they go; only the unset ones are given
// the console of the program that started this one, if it has one.
[[maybe_unused]] const bool consoleAttached = [] {
    const bool output = Unset(STD_OUTPUT_HANDLE), errors = Unset(STD_ERROR_HANDLE);
    if (!output && !errors) return false;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
    if (output) std::freopen("CONOUT$", "w", stdout);
    if (errors) std::freopen("CONOUT$", "w", stderr);
    return true;
}();

}  // namespace
