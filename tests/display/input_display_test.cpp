// System-wide input on a real X server: key-downs and right presses reach the program
// while another program's window has the focus, held keys repeat and poll as held, and
// Alt combinations stay unrecorded.
#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <chrono>
#include <set>
#include <sstream>
#include <thread>

#include "display/harness.h"

using namespace harness;

namespace {

class InputDisplay : public ::testing::Test {
  protected:
    XServer server{1920, 1080};
    std::string folder = MakeTempFolder();
    Display* x = server.display();
    Window other = 0;

    void TearDown() override { RemoveFolder(folder); }

    std::string Report() const { return ReadFile(folder + "/passes.txt"); }
    std::string Log() const { return ReadFile(folder + "/log.txt"); }

    // Token sets of the report's pass lines, in order.
    std::vector<std::set<std::string>> Passes() const {
        std::vector<std::set<std::string>> passes;
        std::istringstream lines(Report());
        std::string line;
        while (std::getline(lines, line)) {
            if (line.rfind("pass ", 0) != 0) continue;
            std::istringstream words(line);
            std::set<std::string> tokens;
            std::string word;
            while (words >> word) tokens.insert(word);
            passes.push_back(tokens);
        }
        return passes;
    }
    int PassesWith(const std::string& token) const {
        int count = 0;
        for (const auto& pass : Passes()) count += pass.count(token) ? 1 : 0;
        return count;
    }
    bool WaitForToken(const std::string& token) {
        return WaitFor([&] { return PassesWith(token) > 0; }, 20);
    }

    // Starts the probe and waits until its hooks are in and its window is up.
    void StartProbe(std::unique_ptr<Process>& probe) {
        probe = std::make_unique<Process>(BinaryDir() + "/tests/quentaro_input_probe",
                                          std::vector<std::string>{}, folder, folder + "/log.txt");
        ASSERT_TRUE(WaitFor([&] { return Report().rfind("ready", 0) == 0; }, 30)) << Log();
        ASSERT_TRUE(WaitFor([&] { return !FindWindows(x, "GAME").empty(); }, 30)) << Log();
    }

    // Maps a window of another client over the program's and gives it the focus.
    void FocusAnotherWindow() {
        other = XCreateSimpleWindow(x, DefaultRootWindow(x), 200, 200, 400, 300, 0, 0, 0);
        XSelectInput(x, other, KeyPressMask | ButtonPressMask | StructureNotifyMask);
        XMapRaised(x, other);
        XEvent event;
        do XWindowEvent(x, other, StructureNotifyMask, &event);
        while (event.type != MapNotify);
        XSetInputFocus(x, other, RevertToParent, CurrentTime);
        XSync(x, False);
        MovePointer(x, 400, 350);
        ASSERT_EQ(FocusedWindow(), other);
    }

    Window FocusedWindow() {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(x, &focus, &revert);
        return focus;
    }

    // Events of the other window of `type` (KeyPress or ButtonPress) with `detail`.
    int OtherWindowGot(int type, unsigned detail) {
        int count = 0;
        XEvent event;
        XSync(x, False);
        while (XCheckWindowEvent(x, other, KeyPressMask | ButtonPressMask, &event)) {
            if (event.type == type && type == KeyPress && event.xkey.keycode == detail) ++count;
            if (event.type == type && type == ButtonPress && event.xbutton.button == detail)
                ++count;
        }
        return count;
    }
};

TEST_F(InputDisplay, KeyDownsAndRightPressesOfAnotherFocusedWindowAreRecorded) {
    std::unique_ptr<Process> probe;
    ASSERT_NO_FATAL_FAILURE(StartProbe(probe));
    ASSERT_NO_FATAL_FAILURE(FocusAnotherWindow());

    TapKey(x, XK_a);
    ASSERT_TRUE(WaitForToken("k65")) << Report();
    EXPECT_EQ(OtherWindowGot(KeyPress, XKeysymToKeycode(x, XK_a)), 1);  // not swallowed

    // The right Shift has its own code; left, middle and wheel presses are not recorded.
    TapKey(x, XK_Shift_R);
    PressButton(x, 1, true);
    PressButton(x, 1, false);
    PressButton(x, 2, true);
    PressButton(x, 2, false);
    PressButton(x, 4, true);
    PressButton(x, 4, false);
    TapKey(x, XK_b);
    ASSERT_TRUE(WaitForToken("k66")) << Report();
    EXPECT_GT(PassesWith("k161"), 0) << Report();
    EXPECT_EQ(PassesWith("k160"), 0) << Report();
    EXPECT_EQ(PassesWith("r"), 0) << Report();

    RightClick(x);
    ASSERT_TRUE(WaitForToken("r")) << Report();
    EXPECT_EQ(OtherWindowGot(ButtonPress, 3), 1);

    // Alt+F5 and Alt itself are system key-downs; Q afterwards shows the passes went on.
    TapKey(x, XK_F5, XK_Alt_L);
    TapKey(x, XK_q);
    ASSERT_TRUE(WaitForToken("k81")) << Report();
    EXPECT_EQ(PassesWith("k116"), 0) << Report();
    EXPECT_EQ(PassesWith("k164"), 0) << Report();
    EXPECT_EQ(FocusedWindow(), other);
    // Each press above reached exactly one pass: none lost, none delivered twice.
    for (const char* once : {"k65", "k66", "k161", "r", "k81"})
        EXPECT_EQ(PassesWith(once), 1) << once << "\n" << Report();

    // Escape typed into the other window ends the program, which stops its capture cleanly.
    TapKey(x, XK_Escape);
    EXPECT_EQ(probe->Wait(20), 0) << Log();
}

TEST_F(InputDisplay, HeldKeysRepeatAndPollAsHeld) {
    // A known repeat rate: the first repeat after 200 ms, then one every 50 ms.
    ASSERT_TRUE(XkbSetAutoRepeatRate(x, XkbUseCoreKbd, 200, 50));
    XSync(x, False);
    std::unique_ptr<Process> probe;
    ASSERT_NO_FATAL_FAILURE(StartProbe(probe));
    ASSERT_NO_FATAL_FAILURE(FocusAnotherWindow());

    PressKey(x, XK_a);
    ASSERT_TRUE(WaitForToken("h65")) << Report();
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    ReleaseKey(x, XK_a);
    TapKey(x, XK_b);
    ASSERT_TRUE(WaitForToken("k66")) << Report();
    // About twenty repeats; a slow pass may take in two of them.
    EXPECT_GE(PassesWith("k65"), 6) << Report();
    EXPECT_GE(OtherWindowGot(KeyPress, XKeysymToKeycode(x, XK_a)), 10);
    for (const auto& pass : Passes()) {
        if (pass.count("k66")) {
            EXPECT_EQ(pass.count("h65"), 0u) << Report();
        }
    }

    // Either Shift is Shift; the left one is not the right one.
    PressKey(x, XK_Shift_L);
    ASSERT_TRUE(WaitForToken("h16")) << Report();
    ReleaseKey(x, XK_Shift_L);
    EXPECT_EQ(PassesWith("h161"), 0) << Report();
    EXPECT_GT(PassesWith("h160"), 0) << Report();

    // Presses quicker than a pass, ten a second: each polls as held once, none twice.
    const int keyPolls = PassesWith("h65");
    for (int i = 0; i < 5; ++i) {
        TapKey(x, XK_a);
        PressButton(x, 1, true);
        PressButton(x, 1, false);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    WaitFor([&] { return PassesWith("h1") >= 5 && PassesWith("h65") >= keyPolls + 5; }, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(PassesWith("h65"), keyPolls + 5) << Report();
    EXPECT_EQ(PassesWith("h1"), 5) << Report();

    PressButton(x, 3, true);
    ASSERT_TRUE(WaitForToken("h2")) << Report();
    PressButton(x, 3, false);
    EXPECT_EQ(PassesWith("h1"), 5) << Report();
    EXPECT_EQ(PassesWith("h4"), 0) << Report();

    TapKey(x, XK_Escape);
    EXPECT_EQ(probe->Wait(20), 0) << Log();
}

}  // namespace
