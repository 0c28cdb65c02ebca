// The dungeon generator's progress messages and the console on a real X server: what the
// screen shows while levels are generated, and a command typed with real key presses.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <sstream>

#include "display/harness.h"

using namespace harness;

namespace {

constexpr std::uint32_t GREY = 0xC8C8C8u, WHITE = 0xFFFFFFu;

class EngineDisplay : public ::testing::Test {
  protected:
    XServer server{1920, 1080};
    Display* x = server.display();
    std::string folder = MakeTempFolder();
    void TearDown() override { RemoveFolder(folder); }

    std::string Report() const { return ReadFile(folder + "/engine.txt"); }
    std::string Log() const { return ReadFile(folder + "/log.txt"); }
    // The last complete line of the report.
    std::string State() const {
        std::istringstream lines(Report());
        std::string line, last;
        while (std::getline(lines, line)) last = line;
        return last;
    }
    std::string Line() const {
        std::string state = State();
        std::size_t at = state.find(" line ");
        return at == std::string::npos ? "?" : state.substr(at + 6);
    }

    // Waits until the report has not changed for `quiet` seconds.
    void Settle(double quiet = 0.6) {
        std::string seen = Report();
        auto since = std::chrono::steady_clock::now();
        WaitFor(
            [&] {
                std::string now = Report();
                if (now != seen) {
                    seen = now;
                    since = std::chrono::steady_clock::now();
                }
                return std::chrono::steady_clock::now() - since >
                       std::chrono::duration<double>(quiet);
            },
            20);
    }
    // Holds a key until the console reacts, then lets go. The console acts on a held key
    // again after its pause, so a release delayed by a busy machine can act twice; each step
    // therefore looks at the outcome and presses again (or takes back) until `reached` holds.
    bool Reach(
        unsigned long keysym, const std::function<bool()>& reached,
        const std::function<bool()>& overshot = [] { return false; }) {
        for (int attempt = 0; attempt < 10 && !reached(); ++attempt) {
            unsigned long key = overshot() ? XK_BackSpace : keysym;
            std::string before = State();
            PressKey(x, key);
            WaitFor([&] { return State() != before; }, 15);
            ReleaseKey(x, key);
            Settle();
        }
        return reached();
    }
    void Type(const std::string& text) {
        for (char c : text) {
            std::string want = Line() + c;
            unsigned long sym = c == ' ' ? XK_space : (unsigned long)c;
            ASSERT_TRUE(Reach(
                sym, [&] { return Line() == want; }, [&] { return Line().size() > want.size(); }))
                << Report();
        }
    }
};

TEST_F(EngineDisplay, ProgressMessagesReachTheScreenAndTheConsoleRunsTypedCommands) {
    Process probe(BinaryDir() + "/tests/quentaro_engine_probe", {}, folder, folder + "/log.txt");
    ASSERT_TRUE(WaitFor([&] { return Report().rfind("generated", 0) == 0; }, 60)) << Log();
    EXPECT_EQ(Report().substr(0, 12), "generated 3 ") << Report();

    // The last message, "Fountain Generation = 0", in light grey at frame (100, 100): frame
    // pixels are 2 x 2 on screen, row 0 at the bottom.
    Screenshot shot;
    ColourArea grey;
    ASSERT_TRUE(WaitFor(
        [&] {
            shot = Grab(x, 0, 0, 1920, 1080);
            grey = FindColour(shot, GREY, 0, 0, 1920, 1080);
            return grey.count > 0;
        },
        20));
    SavePng(shot, folder + "/../quentaro-dungeon-progress.png");
    EXPECT_GE(grey.left, 200);
    EXPECT_LE(grey.bottom, 1079 - 2 * 100 + 20);
    EXPECT_GT(grey.right - grey.left, 2 * 60);  // a message of 23 characters
    EXPECT_EQ(FindColour(shot, WHITE, 0, 0, 1920, 1080).count, 0);
    WriteFile(folder + "/go", "");

    // Tab opens the console: "CMD:" and the cursor in white at frame (14, 73).
    ASSERT_TRUE(WaitFor([&] { return State().rfind("open 0", 0) == 0; }, 20)) << Report();
    ASSERT_TRUE(Reach(XK_Tab, [&] { return State().rfind("open 1", 0) == 0; })) << Report();
    ASSERT_NO_FATAL_FAILURE(Type("env4teleport 5 6 7"));
    PressKey(x, XK_Return);
    bool moved =
        WaitFor([&] { return State().find("walker 5,6,7 view 5,6,7") != std::string::npos; }, 15);
    ReleaseKey(x, XK_Return);
    EXPECT_TRUE(moved) << Report();

    ColourArea white;
    ASSERT_TRUE(WaitFor(
        [&] {
            shot = Grab(x, 0, 0, 1920, 1080);
            white = FindColour(shot, WHITE, 0, 0, 1920, 1080);
            return white.count > 0 && white.right - white.left > 2 * 8 * 20;
        },
        20));
    SavePng(shot, folder + "/../quentaro-console.png");
    EXPECT_GE(white.left, 28);
    EXPECT_LE(white.left, 40);
    EXPECT_LE(white.bottom, 1079 - 2 * 73 + 30);  // the cursor reaches a little below the pen
    EXPECT_GE(white.top, 1079 - 2 * 73 - 80);
    EXPECT_EQ(Line(), "env4teleport 5 6 7");

    SendCloseRequest(x, FindWindows(x, "GAME").front().window);
    EXPECT_EQ(probe.Wait(20), 0) << Log();
}

}  // namespace
