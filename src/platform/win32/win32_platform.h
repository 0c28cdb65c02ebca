// The Windows backend: user32 and gdi32 for the window, WGL for the GL context, low-level
// hooks for the system-wide input, shell32 for other programs. Only files under
// platform/win32/ include this header; the class is the real `platform::Platform` on Windows.
#pragma once

// Defined by the build for the GL headers of the portable code; windows.h has its own.
#undef WINGDIAPI
#undef APIENTRY
#undef CALLBACK
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "platform/platform.h"

namespace platform {

class Win32Platform : public Platform {
  public:
    bool Connect(std::string& why) override;
    int ScreenWidth() override;
    int ScreenHeight() override;
    bool RegisterWindowClass() override;
    bool UnregisterWindowClass() override;
    bool ChangeDisplayMode(int width, int height, int bits) override;
    void RestoreDisplayMode() override;
    bool CreateMainWindow(const char* title, int x, int y, int width, int height) override;
    bool GetDeviceContext() override;
    bool ChoosePixelFormat(const PixelFormatWanted& wanted) override;
    bool SetPixelFormat() override;
    bool CreateGlContext() override;
    bool MakeGlContextCurrent() override;
    void ShowAndFocusMainWindow() override;
    bool HasGlContext() override;
    bool ReleaseGlContext() override;
    bool DeleteGlContext() override;
    bool HasDeviceContext() override;
    bool ReleaseDeviceContext() override;
    bool HasMainWindow() override;
    bool DestroyMainWindow() override;
    void SwapBuffers() override;
    WindowRect MainWindowRect() override;
    void MoveMainWindow(int x, int y, int width, int height) override;
    void ShowSystemCursor(bool show) override;

    bool NextEvent(Event& event) override;
    void DefaultWindowEvent(const Event& event) override;

    bool InstallKeyboardCapture() override;
    bool InstallMouseCapture() override;
    bool KeyHeld(int virtualKey) override;
    bool KeyPressed(int virtualKey) override;
    void CursorPosition(int& x, int& y) override;
    void MoveCursor(int x, int y) override;

    void ShowMessage(const char* text, const char* caption, MessageIcon icon) override;
    bool AskYesNo(const char* text, const char* caption, MessageIcon icon) override;

    bool StartProgram(const char* file, const char* parameters) override;
    bool OpenFolderInFileManager(const char* folder) override;
    bool TakeStartedProgramFailure(std::string& message) override;
    WindowHandle FindWindowByTitle(const char* title) override;
    bool MoveWindow(WindowHandle window, int x, int y, int width, int height) override;

    void Pause(int milliseconds) override;
    void PauseMicroseconds(long long microseconds) override;
    long long CalendarSeconds() override;
    long long SteadyMicroseconds() override;
};

// --- events (win32_events.cpp) ---
// Events the hooks and the window procedure recorded, oldest first, for NextEvent.
void QueueEvent(const Event& event);
bool TakeQueuedEvent(Event& event);

// The main window, or null; message boxes are owned by it.
HWND MainWindowHandle();

}  // namespace platform
