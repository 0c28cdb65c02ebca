// The real program browsing a real folder: the list it shows at start-up, and two right
// presses on a folder's label that select it and then move into it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "display/harness.h"

using namespace harness;

namespace {

// Frame 960 x 540 at pixel scale 2 on a 1920 x 1080 screen; frame row 0 is at the bottom.
int ScreenX(int frameX) {
    return 2 * frameX + 1;
}
int ScreenY(int frameY) {
    return 2 * (539 - frameY) + 1;
}
// The pen row of list entry k in column 0.
int PenY(int k) {
    return 540 - 26 - 8 * k;
}

// True when the label of entry k shows a pixel of exactly `colour`.
bool LabelShows(const Screenshot& shot, int k, std::uint32_t colour) {
    for (int fy = PenY(k) - 7; fy <= PenY(k) + 1; ++fy)
        for (int fx = 10; fx < 80; ++fx)
            if (shot.at(ScreenX(fx), ScreenY(fy)) == colour) return true;
    return false;
}

constexpr std::uint32_t RED = 0xFF0000, GREEN = 0x00FF00, YELLOW = 0xFFFF00;

TEST(BrowserDisplay, ListShowsTheFolderAndASecondPressEntersAFolder) {
    XServer server{1920, 1080};
    std::string folder = MakeTempFolder();
    WriteFile(folder + "/zeta.txt", "z");
    ASSERT_EQ(
        system(
            ("mkdir -p '" + folder + "/alpha' && touch '" + folder + "/alpha/inner.txt'").c_str()),
        0);
    Process program(ProgramPath(), {}, folder, folder + "/log.txt");
    Screenshot shot;
    // ".", "..", "alpha", "log.txt", "zeta.txt": the first selected, folders yellow, files green.
    ASSERT_TRUE(WaitFor(
        [&] {
            shot = Grab(server.display(), 0, 0, 1920, 1080);
            return LabelShows(shot, 1, RED);
        },
        30))
        << ReadFile(folder + "/log.txt");
    EXPECT_TRUE(LabelShows(shot, 2, YELLOW));
    EXPECT_TRUE(LabelShows(shot, 3, YELLOW));
    EXPECT_TRUE(LabelShows(shot, 5, GREEN));

    // First press on "alpha" selects it, the second moves into it.
    MovePointer(server.display(), ScreenX(12), ScreenY(PenY(3) - 5));
    RightClick(server.display());
    ASSERT_TRUE(WaitFor(
        [&] {
            shot = Grab(server.display(), 0, 0, 1920, 1080);
            return LabelShows(shot, 3, RED) && LabelShows(shot, 1, YELLOW);
        },
        10));
    usleep(700 * 1000);  // the program's 480 ms pause after a selection
    RightClick(server.display());
    // Inside "alpha": ".", "..", "inner.txt", entry 1 selected again.
    ASSERT_TRUE(WaitFor(
        [&] {
            shot = Grab(server.display(), 0, 0, 1920, 1080);
            return LabelShows(shot, 3, GREEN) && LabelShows(shot, 1, RED) &&
                   !LabelShows(shot, 4, GREEN);
        },
        10));
    SavePng(shot, folder + "/../quentaro-browser-list.png");
    program.Wait(0.1);
    RemoveFolder(folder);
}

}  // namespace
