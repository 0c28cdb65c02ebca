// The real program on a real X server: its window, what it shows, how it ends.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "display/harness.h"

using namespace harness;

namespace {

long ResidentKb(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

class WindowDisplay : public ::testing::Test {
  protected:
    XServer server{1920, 1080};
    std::string folder = MakeTempFolder();
    void TearDown() override { RemoveFolder(folder); }

    FoundWindow WaitForWindow(const std::string& title) {
        std::vector<FoundWindow> windows;
        WaitFor([&] { return !(windows = FindWindows(server.display(), title)).empty(); }, 30);
        return windows.empty() ? FoundWindow{} : windows.front();
    }
};

TEST_F(WindowDisplay, OneBorderlessWindowCoversTheScreenAndClosesOnRequest) {
    Process program(ProgramPath(), {}, folder, folder + "/log.txt");
    FoundWindow window = WaitForWindow("GAME");
    ASSERT_NE(window.window, 0u) << ReadFile(folder + "/log.txt");
    EXPECT_EQ(FindWindows(server.display(), "GAME").size(), 1u);
    EXPECT_EQ(window.x, 0);
    EXPECT_EQ(window.y, 0);
    EXPECT_EQ(window.width, 1920);
    EXPECT_EQ(window.height, 1080);
    EXPECT_TRUE(program.Running());

    SendCloseRequest(server.display(), window.window);
    EXPECT_EQ(program.Wait(20), 0) << ReadFile(folder + "/log.txt");
}

TEST_F(WindowDisplay, FramePixelsAppearBottomLeftUpAtZoomTwo) {
    Process program(BinaryDir() + "/tests/quentaro_pattern", {}, folder, folder + "/log.txt");
    FoundWindow window = WaitForWindow("GAME");
    ASSERT_NE(window.window, 0u) << ReadFile(folder + "/log.txt");
    Screenshot shot;
    ASSERT_TRUE(WaitFor(
        [&] {
            shot = Grab(server.display(), 0, 0, 1920, 1080);
            return shot.at(0, 1079) == 0xFF0000u;
        },
        20));
    // Frame pixel (0, 0) is the 2 x 2 block in the bottom-left corner of the window.
    EXPECT_EQ(shot.at(1, 1078), 0xFF0000u);
    EXPECT_EQ(shot.at(2, 1079), 0x00FF00u);
    EXPECT_EQ(shot.at(3, 1078), 0x00FF00u);
    EXPECT_EQ(shot.at(0, 1077), 0x0000FFu);
    EXPECT_EQ(shot.at(1, 1076), 0x0000FFu);
    EXPECT_EQ(shot.at(2, 1077), 0x000000u);
    // The white block at frame (100..109, 50..59) covers screen x 200..219, y 960..979.
    EXPECT_EQ(shot.at(200, 979), 0xFFFFFFu);
    EXPECT_EQ(shot.at(219, 960), 0xFFFFFFu);
    EXPECT_EQ(shot.at(220, 970), 0x000000u);
    EXPECT_EQ(shot.at(210, 959), 0x000000u);
    // The frame's top-right pixel fills the window's top-right corner.
    EXPECT_EQ(shot.at(1919, 0), 0xFFFF00u);
    EXPECT_EQ(shot.at(1918, 1), 0xFFFF00u);
    SavePng(shot, folder + "/../quentaro-pattern.png");

    SendCloseRequest(server.display(), window.window);
    EXPECT_EQ(program.Wait(20), 0);
}

// Every pointer move presents a frame that differs from the last (the cursor cross moves).
// Presenting must not take memory per frame: a GL library that caches what it was handed
// (a texture and a copy of the pixels, several deep) held 12 MB more after a few moves.
TEST_F(WindowDisplay, PresentingFramesThatDifferTakesNoMoreMemory) {
    Process program(ProgramPath(), {}, folder, folder + "/log.txt");
    ASSERT_NE(WaitForWindow("GAME").window, 0u) << ReadFile(folder + "/log.txt");
    Display* x = server.display();
    ASSERT_TRUE(WaitFor(
        [&] {
            Screenshot shot = Grab(x, 0, 0, 1920, 1080);
            for (std::uint32_t pixel : shot.pixels)
                if (pixel != 0) return true;
            return false;
        },
        20));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    long before = ResidentKb(program.pid());
    for (int k = 0; k < 40; ++k) {
        MovePointer(x, 300 + 20 * k, 200 + 10 * k);
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    long after = ResidentKb(program.pid());
    ASSERT_GT(before, 0);
    EXPECT_LT(after - before, 4096) << before << " kB before the moves, " << after << " after";

    SendCloseRequest(x, FindWindows(x, "GAME").front().window);
    EXPECT_EQ(program.Wait(20), 0);
}

TEST_F(WindowDisplay, TwoResolutionSwitchesInARowLeaveOneWindow) {
    Process program(ProgramPath(), {}, folder, folder + "/log.txt");
    ASSERT_NE(WaitForWindow("GAME").window, 0u) << ReadFile(folder + "/log.txt");
    Display* x = server.display();
    auto shown = [&](int width, int height) {
        return WaitFor(
            [&] {
                auto found = FindWindows(x, "GAME");
                return found.size() == 1 && found[0].width == width && found[0].height == height;
            },
            30);
    };
    // The overlay's title on screen: the loop runs and its keys are captured.
    ASSERT_TRUE(WaitFor(
        [&] { return FindColour(Grab(x, 0, 0, 200, 40), 0xFFFF00, 0, 0, 200, 40).count > 0; }, 30));
    TapKey(x, XK_F6);
    ASSERT_TRUE(shown(1280, 960)) << ReadFile(folder + "/log.txt");
    TapKey(x, XK_F5);
    ASSERT_TRUE(shown(1920, 1080)) << ReadFile(folder + "/log.txt");
    EXPECT_EQ(CountWindowsNamed(x, "GAME"), 1);
    // Nothing went wrong on the way: no message was shown.
    EXPECT_EQ(ReadFile(folder + "/log.txt").find("ERROR"), std::string::npos)
        << ReadFile(folder + "/log.txt");

    SendCloseRequest(x, FindWindows(x, "GAME").front().window);
    EXPECT_EQ(program.Wait(20), 0) << ReadFile(folder + "/log.txt");
}

TEST_F(WindowDisplay, ACloseRequestMadeWhileAMessageWaitsIsKept) {
    Process probe(BinaryDir() + "/tests/quentaro_dialog_probe", {}, folder, folder + "/log.txt");
    FoundWindow window = WaitForWindow("GAME");
    FoundWindow box = WaitForWindow("PROBE");
    ASSERT_NE(box.window, 0u) << ReadFile(folder + "/log.txt");
    Display* x = server.display();
    ASSERT_TRUE(WaitFor([&] { return FocusedWindow(x) == box.window; }, 10));
    SendCloseRequest(x, window.window);
    TapKey(x, XK_Escape);  // answers the box, and is not also the program's Escape
    EXPECT_EQ(probe.Wait(20), 0) << ReadFile(folder + "/log.txt");
}

TEST_F(WindowDisplay, AContextTheServerRefusesIsReportedAndTheProgramCarriesOn) {
    // The server refuses indirect rendering, as a forwarded connection's server usually does;
    // the refusal arrives as an X error after the context was handed out.
    setenv("LIBGL_ALWAYS_INDIRECT", "1", 1);
    Process program(ProgramPath(), {}, folder, folder + "/log.txt");
    unsetenv("LIBGL_ALWAYS_INDIRECT");
    Display* x = server.display();
    std::vector<FoundWindow> box, game;
    WaitFor(
        [&] {
            box = FindWindows(x, "ERROR");
            game = FindWindows(x, "GAME");
            return !box.empty() || !game.empty();
        },
        30);
    if (box.empty() && !game.empty()) GTEST_SKIP() << "this server makes indirect contexts";
    ASSERT_FALSE(box.empty()) << ReadFile(folder + "/log.txt");
    std::string log = ReadFile(folder + "/log.txt");
    EXPECT_NE(log.find("ERROR: Can't Create A GL Rendering Context."), std::string::npos) << log;
    EXPECT_EQ(log.find("X Error of failed request"), std::string::npos) << log;

    ASSERT_TRUE(WaitFor([&] { return FocusedWindow(x) == box.front().window; }, 10));
    TapKey(x, XK_Return);
    ASSERT_TRUE(WaitFor([&] { return FindWindows(x, "ERROR").empty(); }, 10));
    EXPECT_TRUE(program.Running()) << ReadFile(folder + "/log.txt");
    // Start-up goes on after the box and takes the keys once it is done: Escape until then.
    int status = -1;
    for (int i = 0; i < 20 && status == -1; ++i) {
        TapKey(x, XK_Escape);
        status = program.Wait(1);
    }
    EXPECT_EQ(status, 0) << ReadFile(folder + "/log.txt");
}

TEST(NoDisplay, ProgramSaysWhyAndExitsWithOne) {
    std::string folder = MakeTempFolder();
    std::string saved = getenv("DISPLAY") ? getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    Process program(ProgramPath(), {}, folder, folder + "/log.txt");
    int status = program.Wait(20);
    std::string log = ReadFile(folder + "/log.txt");
    if (!saved.empty()) setenv("DISPLAY", saved.c_str(), 1);
    EXPECT_EQ(status, 1);
    EXPECT_NE(log.find("display"), std::string::npos) << log;
    RemoveFolder(folder);
}

}  // namespace
