// Other programs and their windows on Windows: the player and the explorer started through
// the shell, each watched for a few seconds for an early failure; another program's window
// found by its exact title and moved. Also the message boxes, owned by the main window.
#include <cstdio>
#include <vector>

#include "platform/win32/win32_platform.h"

// After windows.h, which it needs but does not include.
#include <shellapi.h>

namespace platform {

namespace {

// How long a started program is watched for an early failure.
constexpr ULONGLONG WATCH_MILLISECONDS = 3000;

struct Started {
    HANDLE process;
    ULONGLONG since;
    std::string name;
};

std::vector<Started> watched;

// `watch`: whether an early exit with a non-zero status counts as the program's failure.
bool Start(const char* file, const char* parameters, bool watch) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = MainWindowHandle();
    info.lpVerb = "open";
    info.lpFile = file;
    info.lpParameters = parameters;
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info)) return false;
    if (info.hProcess != nullptr && !watch) CloseHandle(info.hProcess);
    if (info.hProcess != nullptr && watch) {
        std::string name = file;
        std::size_t slash = name.find_last_of("\\/");
        if (slash != std::string::npos) name = name.substr(slash + 1);
        watched.push_back(Started{info.hProcess, GetTickCount64(), name});
    }
    return true;
}

UINT IconStyle(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation:
        return MB_ICONEXCLAMATION;
    case MessageIcon::Stop:
        return MB_ICONSTOP;
    case MessageIcon::Information:
        return MB_ICONINFORMATION;
    }
    return 0;
}

}  // namespace

bool Win32Platform::StartProgram(const char* file, const char* parameters) {
    return Start(file, parameters, true);
}

bool Win32Platform::OpenFolderInFileManager(const char* folder) {
    // Quoted, so that a folder with spaces in its name stays one parameter.
    std::string quoted = std::string("\"") + folder + "\"";
    // The file manager hands the folder to the one already running and ends, with status 1
    // even when the folder opened: its exit says nothing.
    return Start("explorer", quoted.c_str(), false);
}

bool Win32Platform::TakeStartedProgramFailure(std::string& message) {
    for (std::size_t i = 0; i < watched.size();) {
        Started& started = watched[i];
        bool ended = WaitForSingleObject(started.process, 0) == WAIT_OBJECT_0;
        bool watchOver = GetTickCount64() - started.since > WATCH_MILLISECONDS;
        if (!ended && !watchOver) {
            ++i;
            continue;
        }
        DWORD status = 0;
        bool failed = ended && !watchOver && GetExitCodeProcess(started.process, &status) &&
                      status != 0;
        std::string name = started.name;
        CloseHandle(started.process);
        watched.erase(watched.begin() + std::ptrdiff_t(i));
        if (failed) {
            char text[300];
            std::snprintf(text, sizeof text, "%s ended with status %lu", name.c_str(),
                          static_cast<unsigned long>(status));
            message = text;
            return true;
        }
    }
    return false;
}

WindowHandle Win32Platform::FindWindowByTitle(const char* title) {
    return WindowHandle(reinterpret_cast<std::uintptr_t>(FindWindowA(nullptr, title)));
}

bool Win32Platform::MoveWindow(WindowHandle window, int x, int y, int width, int height) {
    if (window == 0 || width <= 0 || height <= 0) return false;
    return ::MoveWindow(reinterpret_cast<HWND>(std::uintptr_t(window)), x, y, width, height, TRUE);
}

void Win32Platform::ShowMessage(const char* text, const char* caption, MessageIcon icon) {
    MessageBoxA(MainWindowHandle(), text, caption, MB_OK | IconStyle(icon));
}

bool Win32Platform::AskYesNo(const char* text, const char* caption, MessageIcon icon) {
    return MessageBoxA(MainWindowHandle(), text, caption, MB_YESNO | IconStyle(icon)) == IDYES;
}

}  // namespace platform
