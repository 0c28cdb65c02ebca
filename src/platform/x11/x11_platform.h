// The Linux backend: Xlib and GLX for the window, the RECORD extension for the
// system-wide input capture, POSIX for processes. Only files under platform/x11/
// include this header; the class is the real `platform::Platform` on Linux.
#pragma once

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

class X11Platform : public Platform {
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

    Display* display = nullptr;  // the main connection, opened by Connect
};

// The main connection, or nullptr before a successful Connect.
Display* X11Display();

// A monitor's part of the X screen, in root coordinates.
struct MonitorArea {
    int x = 0, y = 0, width = 0, height = 0;
};
// Where the program's window goes, at the screen's top-left corner: the first monitor that
// holds that corner; the whole screen when none does (or none is known). With several
// monitors the screen is their bounding box, which no single window should cover.
MonitorArea OriginMonitor(const std::vector<MonitorArea>& monitors, int screenWidth,
                          int screenHeight);

// --- X protocol errors (x11_errors.cpp) ---
// From now on an X error is reported on stderr instead of ending the process.
void ReportXErrors();
// For its lifetime, X errors on `display` are counted instead of reported: for requests
// that may fail (another client's window gone, a context the server refuses).
class IgnoredXErrors {
  public:
    explicit IgnoredXErrors(Display* display);
    ~IgnoredXErrors();
    IgnoredXErrors(const IgnoredXErrors&) = delete;
    IgnoredXErrors& operator=(const IgnoredXErrors&) = delete;
    // Whether any request made so far in its lifetime failed.
    bool Failed();

  private:
    Display* display_;
    int (*previous_)(Display*, XErrorEvent*);
};

// --- input capture (x11_input.cpp) ---
// Takes the oldest captured keyboard or mouse event, if any. Called by NextEvent.
bool TakeCapturedEvent(Event& event);
// Stops the capture and closes its connection; called before the main connection closes.
void StopInputCapture();
// Drops the key-downs and presses captured so far: those that answered a message box are
// the box's, not the program's (a Windows program's hooks record them during the box, and
// the pass clears them).
void DiscardCapturedInput();

// --- starting programs (x11_spawn.cpp) ---
// Runs `program` with `words` (argv[0] first) detached from us, watched for an early
// failure; true when its exec succeeded.
bool Spawn(const std::string& program, const std::vector<std::string>& words);

// --- message boxes (x11_dialog.cpp): returns the index of the button chosen ---
int RunDialog(Display* display, const char* text, const char* caption, const char* const* buttons,
              int buttonCount);

}  // namespace platform
