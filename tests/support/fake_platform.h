// A stand-in for the operating system: scripted screen, cursor, held keys and events,
// and a record of what the program asked of it (pauses, windows, messages, programs).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"

struct FakePlatform : platform::Platform {
    // Scripted answers.
    int screenWidth = 1920, screenHeight = 1080;
    int cursorX = 0, cursorY = 0;
    bool held[256] = {};
    bool pressed[256] = {};  // went down since KeyPressed last asked about the key
    std::deque<platform::Event> events;
    bool failStep[16] = {};  // indexed by FailAt below
    bool answerYes = true;
    bool displayModeOffered = false;
    platform::WindowHandle playerWindow = 0;
    bool startsFail = false;                    // StartProgram and the file manager fail
    std::deque<std::string> programFailures;    // early failures of started programs
    long long calendarSeconds = 1'700'000'000;  // 2023-11-14, a fixed "now"
    long long steadyMicroseconds = 0;

    // What happened.
    std::vector<int> pauses;
    std::vector<long long> finePauses;         // the main loop's pacing, in microseconds
    std::vector<std::string> messages;         // "caption: text"
    std::vector<platform::MessageIcon> icons;  // one per message, in the same order
    std::vector<std::string> started;          // "file|parameters"
    std::vector<std::string> openedFolders;
    struct Move {
        platform::WindowHandle window;
        int x, y, width, height;
    };
    std::vector<Move> moves;
    std::vector<std::string> calls;  // every display step, in order
    int classes = 0, windows = 0, contexts = 0, swaps = 0, defaultEvents = 0;
    bool cursorShown = true;
    platform::WindowRect rect;

    enum FailAt {
        CREATE_WINDOW,
        DEVICE_CONTEXT,
        CHOOSE_FORMAT,
        SET_FORMAT,
        CREATE_CONTEXT,
        MAKE_CURRENT,
        REGISTER_CLASS,
        DISPLAY_MODE,
        RELEASE_CONTEXT,
        DELETE_CONTEXT,
        RELEASE_DEVICE_CONTEXT,
        DESTROY_WINDOW,
        UNREGISTER_CLASS
    };

    FakePlatform() { platform::SetSys(this); }
    ~FakePlatform() override { platform::SetSys(nullptr); }

    int TotalPause() const {
        int total = 0;
        for (int p : pauses) total += p;
        return total;
    }

    bool Connect(std::string&) override { return true; }
    int ScreenWidth() override { return screenWidth; }
    int ScreenHeight() override { return screenHeight; }
    bool RegisterWindowClass() override;
    bool UnregisterWindowClass() override;
    bool ChangeDisplayMode(int, int, int) override;
    void RestoreDisplayMode() override { calls.push_back("RestoreDisplayMode"); }
    bool CreateMainWindow(const char* title, int x, int y, int width, int height) override;
    bool GetDeviceContext() override { return Step("GetDeviceContext", DEVICE_CONTEXT); }
    bool ChoosePixelFormat(const platform::PixelFormatWanted&) override {
        return Step("ChoosePixelFormat", CHOOSE_FORMAT);
    }
    bool SetPixelFormat() override { return Step("SetPixelFormat", SET_FORMAT); }
    bool CreateGlContext() override;
    bool MakeGlContextCurrent() override { return Step("MakeGlContextCurrent", MAKE_CURRENT); }
    void ShowAndFocusMainWindow() override { calls.push_back("ShowAndFocusMainWindow"); }
    bool HasGlContext() override { return contexts > 0; }
    bool ReleaseGlContext() override { return Step("ReleaseGlContext", RELEASE_CONTEXT); }
    bool DeleteGlContext() override;
    bool HasDeviceContext() override { return windows > 0; }
    bool ReleaseDeviceContext() override {
        return Step("ReleaseDeviceContext", RELEASE_DEVICE_CONTEXT);
    }
    bool HasMainWindow() override { return windows > 0; }
    bool DestroyMainWindow() override;
    void SwapBuffers() override { ++swaps; }
    platform::WindowRect MainWindowRect() override { return rect; }
    void MoveMainWindow(int x, int y, int width, int height) override;
    void ShowSystemCursor(bool show) override { cursorShown = show; }

    bool NextEvent(platform::Event& event) override;
    void DefaultWindowEvent(const platform::Event&) override { ++defaultEvents; }

    bool InstallKeyboardCapture() override { return true; }
    bool InstallMouseCapture() override { return true; }
    bool KeyHeld(int virtualKey) override {
        return virtualKey >= 0 && virtualKey < 256 && held[virtualKey];
    }
    bool KeyPressed(int virtualKey) override {
        if (virtualKey < 0 || virtualKey >= 256) return false;
        const bool answer = pressed[virtualKey];
        pressed[virtualKey] = false;
        return answer;
    }
    void CursorPosition(int& x, int& y) override {
        x = cursorX;
        y = cursorY;
    }
    void MoveCursor(int x, int y) override {
        cursorX = x;
        cursorY = y;
    }

    void ShowMessage(const char* text, const char* caption, platform::MessageIcon icon) override {
        messages.push_back(std::string(caption) + ": " + text);
        icons.push_back(icon);
    }
    bool AskYesNo(const char* text, const char* caption, platform::MessageIcon icon) override {
        messages.push_back(std::string(caption) + "? " + text);
        icons.push_back(icon);
        return answerYes;
    }

    bool StartProgram(const char* file, const char* parameters) override {
        started.push_back(std::string(file) + "|" + parameters);
        return !startsFail;
    }
    bool OpenFolderInFileManager(const char* folder) override {
        openedFolders.push_back(folder);
        return !startsFail;
    }
    bool TakeStartedProgramFailure(std::string& message) override {
        if (programFailures.empty()) return false;
        message = programFailures.front();
        programFailures.pop_front();
        return true;
    }
    platform::WindowHandle FindWindowByTitle(const char*) override { return playerWindow; }
    bool MoveWindow(platform::WindowHandle window, int x, int y, int width, int height) override {
        moves.push_back({window, x, y, width, height});
        return window != 0;
    }

    // Pauses are recorded, never slept; they advance the steady clock so pacing can be tested.
    void Pause(int milliseconds) override {
        pauses.push_back(milliseconds);
        steadyMicroseconds += 1000LL * milliseconds;
    }
    void PauseMicroseconds(long long microseconds) override {
        finePauses.push_back(microseconds);
        steadyMicroseconds += microseconds;
    }
    long long CalendarSeconds() override { return calendarSeconds; }
    long long SteadyMicroseconds() override { return steadyMicroseconds; }

    // Places the cursor over frame pixel (column, row) of the current window.
    void PointAtFramePixel(int column, int row, int frameWidth, int frameHeight);

  private:
    bool Step(const char* name, FailAt at) {
        calls.push_back(name);
        return !failStep[at];
    }
};
