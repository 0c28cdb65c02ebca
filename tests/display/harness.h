// The display-test harness: a private Xvfb server, the real program started in a
// folder of the test's choosing, XTEST input, and the screen read back.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace harness {

// An Xvfb server of its own; DISPLAY points at it while it lives.
class XServer {
  public:
    XServer(int width = 1920, int height = 1080);
    ~XServer();
    Display* display() const { return display_; }
    const std::string& name() const { return name_; }

  private:
    int pid_ = -1;
    std::string name_;
    Display* display_ = nullptr;
};

// A child process with its exit status.
class Process {
  public:
    // Starts `program` with `arguments` in `folder`; standard error goes to `logFile` if given.
    Process(const std::string& program, const std::vector<std::string>& arguments,
            const std::string& folder, const std::string& logFile = "");
    ~Process();  // kills the child if it is still running
    // Waits up to `seconds`; returns the exit status, or -1 on timeout or a signal.
    int Wait(double seconds);
    bool Running();
    int pid() const { return pid_; }

  private:
    int pid_ = -1;
    int status_ = -1;
    bool done_ = false;
};

std::string ProgramPath();  // the built quentaro
std::string BinaryDir();
std::string MakeTempFolder();  // a fresh empty folder
void RemoveFolder(const std::string& folder);
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// Polls `condition` every 20 ms for up to `seconds`.
bool WaitFor(const std::function<bool()>& condition, double seconds);

struct FoundWindow {
    Window window = 0;
    int x = 0, y = 0, width = 0, height = 0;  // root coordinates of the drawing area
    bool decorated = false;
};
// Top-level windows (viewable) whose name is exactly `title`.
std::vector<FoundWindow> FindWindows(Display* display, const std::string& title);
// Windows named exactly `title` anywhere in the tree, mapped or not: a window left behind
// by a rebuild counts here even when it is no longer shown.
int CountWindowsNamed(Display* display, const std::string& title);

// The screen's RGB pixels as 0xRRGGBB, row-major from the top-left.
struct Screenshot {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};
Screenshot Grab(Display* display, int x, int y, int width, int height);
bool SavePng(const Screenshot& shot, const std::string& path);  // via ImageMagick, if present

// A 24-bit BMP of one colour (0xRRGGBB), as the browser's decoder reads them.
void WriteBmp(const std::string& path, int width, int height, std::uint32_t rgb);

// The pixels of `colour` inside [x0, x1) x [y0, y1) of a screenshot: how many, and
// their bounding box (meaningful when count > 0).
struct ColourArea {
    int count = 0;
    int left = 0, top = 0, right = 0, bottom = 0;  // inclusive
    int centreX() const { return (left + right) / 2; }
    int centreY() const { return (top + bottom) / 2; }
};
ColourArea FindColour(const Screenshot& shot, std::uint32_t colour, int x0, int y0, int x1, int y1);

// The window that has the input focus (0 for none or the root).
Window FocusedWindow(Display* display);

// Input through XTEST.
void MovePointer(Display* display, int x, int y);
void TapKey(Display* display, unsigned long keysym, unsigned long modifierKeysym = 0);
void RightClick(Display* display);
// A key or button held down until released; the server auto-repeats a held key.
void PressKey(Display* display, unsigned long keysym);
void ReleaseKey(Display* display, unsigned long keysym);
void PressButton(Display* display, unsigned button, bool down);
void SendCloseRequest(Display* display, Window window);

}  // namespace harness
