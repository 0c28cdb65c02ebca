// The window manager's close request ends the program with status 0 whenever it comes:
// at the window's first appearance, while the program is still starting, and later.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <mutex>
#include <random>
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

// Twenty starts beside the program's pictures and player, with no window manager, each sent
// one close at a random moment within 3 s of its window's first appearance. Four starts run
// side by side; each knows its window as the one that appeared after it started.
TEST(CloseDisplay, TwentyClosesInTheFirstSecondsAreAllHonoured) {
    XServer server{1920, 1080};
    std::string logs = MakeTempFolder();
    std::mutex starting, shared;  // one start at a time; the connection and the lists
    std::vector<Window> known;
    std::vector<std::string> failures;
    auto lane = [&](int first) {
        std::mt19937 random(unsigned(first) * 7919u + unsigned(time(nullptr)));
        for (int run = first; run < first + 5; ++run) {
            std::string log = logs + "/" + std::to_string(run) + ".txt";
            std::unique_lock<std::mutex> start(starting);
            Process program(ProgramPath(), {}, BinaryDir(), log);
            Window window = 0;
            WaitFor(
                [&] {
                    std::lock_guard<std::mutex> lock(shared);
                    for (const FoundWindow& w : FindWindows(server.display(), "GAME"))
                        if (std::find(known.begin(), known.end(), w.window) == known.end())
                            window = w.window;
                    if (window != 0) known.push_back(window);
                    return window != 0;
                },
                30);
            start.unlock();
            double moment = std::uniform_real_distribution<double>(0.0, 3.0)(random);
            std::this_thread::sleep_for(std::chrono::duration<double>(moment));
            if (window != 0) {
                std::lock_guard<std::mutex> lock(shared);
                SendCloseRequest(server.display(), window);
            }
            int status = window != 0 ? program.Wait(10) : -2;
            std::lock_guard<std::mutex> lock(shared);
            // Its window is gone: the server may give a later one the same number.
            known.erase(std::remove(known.begin(), known.end(), window), known.end());
            if (status != 0)
                failures.push_back("start " + std::to_string(run) + ": status " +
                                   std::to_string(status) + " after a close at " +
                                   std::to_string(moment) + " s\n" + ReadFile(log));
        }
    };
    std::vector<std::thread> lanes;
    for (int first : {0, 5, 10, 15}) lanes.emplace_back(lane, first);
    for (std::thread& t : lanes) t.join();
    EXPECT_TRUE(failures.empty()) << failures.size() << " of 20 closes lost:\n"
                                  << (failures.empty() ? "" : failures.front());
    RemoveFolder(logs);
}

}  // namespace
