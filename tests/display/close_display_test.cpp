// The window manager's close request ends the program with status 0 whenever it comes:
// at the window's first appearance, while the program is still starting, and later.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "display/harness.h"

using namespace harness;

namespace {

TEST(CloseDisplay, ACloseRequestAtAnyMomentEndsTheProgramWithZero) {
    XServer server{1920, 1080};
    std::string folder = MakeTempFolder();
    // Seconds after the window is first seen; each run starts the program afresh.
    const double moments[] = {0.0, 0.05, 0.2, 0.5, 1.0, 2.0, 3.0, 4.0};
    for (double moment : moments) {
        Process program(ProgramPath(), {}, folder, folder + "/log.txt");
        std::vector<FoundWindow> windows;
        ASSERT_TRUE(
            WaitFor([&] { return !(windows = FindWindows(server.display(), "GAME")).empty(); }, 30))
            << ReadFile(folder + "/log.txt");
        std::this_thread::sleep_for(std::chrono::duration<double>(moment));
        SendCloseRequest(server.display(), windows.front().window);
        EXPECT_EQ(program.Wait(20), 0)
            << "close request " << moment << " s after the window appeared\n"
            << ReadFile(folder + "/log.txt");
        // The next run must not find this run's window.
        ASSERT_TRUE(WaitFor([&] { return FindWindows(server.display(), "GAME").empty(); }, 10));
    }
    RemoveFolder(folder);
}

}  // namespace
