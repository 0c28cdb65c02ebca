// The engine's window and view keys on a real X server: F1 and F2 make the window anew,
// titled "KORVIS", at pixel scales 1 and 2 with the frame drawn at that scale; M moves it to
// the pointer; an arrow key scrolls the view.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <sstream>

#include "display/harness.h"

using namespace harness;

namespace {

constexpr std::uint32_t RED = 0xFF0000u;

class ViewKeysDisplay : public ::testing::Test {
  protected:
    XServer server{1920, 1080};
    Display* x = server.display();
    std::string folder = MakeTempFolder();
    void TearDown() override { RemoveFolder(folder); }

    std::string State() const {
        std::istringstream lines(ReadFile(folder + "/view.txt"));
        std::string line, last;
        while (std::getline(lines, line)) last = line;
        return last;
    }
    // Holds `keysym` until `reached` holds (at most 20 s), then lets go.
    bool HoldUntil(unsigned long keysym, const std::function<bool()>& reached) {
        PressKey(x, keysym);
        bool ok = WaitFor(reached, 20);
        ReleaseKey(x, keysym);
        return ok;
    }
    // The one KORVIS window once it has the given geometry and stays so for a moment.
    bool KorvisAt(int left, int top, int width, int height) {
        std::vector<FoundWindow> windows = FindWindows(x, "KORVIS");
        return windows.size() == 1 && windows[0].x == left && windows[0].y == top &&
               windows[0].width == width && windows[0].height == height;
    }
};

TEST_F(ViewKeysDisplay, FunctionKeysRescaleTheWindowAndMMovesIt) {
    Process probe(BinaryDir() + "/tests/quentaro_view_keys_probe", {}, folder, folder + "/log.txt");
    ASSERT_TRUE(WaitFor([&] { return State() == "scale 2 view 0,0,0"; }, 60))
        << ReadFile(folder + "/log.txt");
    ASSERT_EQ(FindWindows(x, "GAME").size(), 1u);

    // Scale 1: a 960 x 540 window; the red 16 x 16 block sits at its bottom-left corner.
    ASSERT_TRUE(HoldUntil(XK_F1, [&] { return State().rfind("scale 1", 0) == 0; }));
    ASSERT_TRUE(WaitFor([&] { return KorvisAt(0, 0, 960, 540); }, 20));
    EXPECT_TRUE(FindWindows(x, "GAME").empty());
    ColourArea red;
    Screenshot shot;
    EXPECT_TRUE(WaitFor(
        [&] {
            shot = Grab(x, 0, 0, 1920, 1080);
            red = FindColour(shot, RED, 0, 0, 1920, 1080);
            return red.count == 256;
        },
        20));
    SavePng(shot, folder + "/../quentaro-korvis-scale1.png");
    EXPECT_EQ(red.left, 0);
    EXPECT_EQ(red.bottom, 539);

    // M: the window's top-left corner goes to the pointer.
    MovePointer(x, 300, 200);
    ASSERT_TRUE(HoldUntil(XK_m, [&] { return KorvisAt(300, 200, 960, 540); }));

    // Scale 2: the window is made anew at the screen's origin, the block 32 x 32.
    ASSERT_TRUE(HoldUntil(XK_F2, [&] { return State().rfind("scale 2", 0) == 0; }));
    ASSERT_TRUE(WaitFor([&] { return KorvisAt(0, 0, 1920, 1080); }, 20));
    EXPECT_TRUE(WaitFor(
        [&] {
            red = FindColour(Grab(x, 0, 0, 1920, 1080), RED, 0, 0, 1920, 1080);
            return red.count == 32 * 32 && red.bottom == 1079 && red.left == 0;
        },
        20))
        << red.count;

    // An arrow key moves the view while held.
    ASSERT_TRUE(HoldUntil(XK_Right, [&] { return State() != "scale 2 view 0,0,0"; }));
    EXPECT_EQ(State().rfind("scale 2 view ", 0), 0u) << State();
    EXPECT_NE(State().find(",0,0"), std::string::npos) << State();

    SendCloseRequest(x, FindWindows(x, "KORVIS").front().window);
    EXPECT_EQ(probe.Wait(20), 0) << ReadFile(folder + "/log.txt");
}

}  // namespace
