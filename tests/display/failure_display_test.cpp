// What the user sees when something fails, on a real X server: a notice in white where the
// help line is (no player, no file manager, a picture that does not decode, a folder gone,
// a folder too big for the table), the page being read, and a start folder too long.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "display/harness.h"
#include "platform/platform.h"

using namespace harness;

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t WHITE = 0xFFFFFF, YELLOW = 0xFFFF00, RED = 0xFF0000, GREEN = 0x00FF00;

// Frame 960 x 540 at pixel scale 2; frame row 0 is at the bottom.
int ScreenX(int frameX) {
    return 2 * frameX + 1;
}
int ScreenY(int frameY) {
    return 2 * (539 - frameY) + 1;
}

class FailureDisplay : public ::testing::Test {
  protected:
    XServer server{1920, 1080};
    Display* x = server.display();
    std::string folder = MakeTempFolder();
    std::string logs = MakeTempFolder();

    void TearDown() override {
        RemoveFolder(folder);
        RemoveFolder(logs);
    }
    std::string Log() { return ReadFile(logs + "/log.txt"); }

    // Pixels of `colour` in the help line's rows (the frame's bottom rows 6 to 16).
    int HelpLine(std::uint32_t colour) {
        Screenshot shot = Grab(x, 0, ScreenY(16), 1920, ScreenY(6) - ScreenY(16));
        return FindColour(shot, colour, 0, 0, shot.width, shot.height).count;
    }
    bool NoticeShown() { return HelpLine(WHITE) > 20; }
    bool WaitForNotice() {
        return WaitFor([&] { return NoticeShown(); }, 20);
    }
    bool WaitForHelpLine() {
        return WaitFor([&] { return !NoticeShown() && HelpLine(YELLOW) > 40; }, 20);
    }
    // Entry k of the list in column 0 shows `colour`.
    bool LabelShows(int k, std::uint32_t colour) {
        int pen = 540 - 26 - 8 * k;
        Screenshot shot = Grab(x, ScreenX(10), ScreenY(pen + 1), 160, 18);
        return FindColour(shot, colour, 0, 0, shot.width, shot.height).count > 0;
    }
    // The press is resolved where the cursor is when the program gets to it: the pointer
    // stays until `done`, then goes where the cross hides nothing.
    bool PressLabel(int k, const std::function<bool()>& done) {
        MovePointer(x, ScreenX(14), ScreenY(540 - 26 - 8 * k - 4));
        RightClick(x);
        bool happened = WaitFor(done, 20);
        MovePointer(x, 1800, 400);
        return happened;
    }
};

TEST_F(FailureDisplay, FailuresShowWhereTheHelpLineIsAndStillReachStandardError) {
    // ".", "..", "clip.mp4", "kelvo", "sub", "zbad.jpg"; a player that has nothing to play on.
    WriteFile(folder + "/zbad.jpg", "not a picture");
    WriteFile(folder + "/clip.mp4", "film");
    WriteFile(folder + "/kelvo",
              "#!/bin/sh\necho 'kelvo: no player for clip.mp4: install mpv' >&2\nexit 1\n");
    fs::permissions(folder + "/kelvo", fs::perms::owner_all);
    fs::create_directory(folder + "/sub");
    // No file manager anywhere on the program's PATH.
    std::string path = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", logs.c_str(), 1);
    Process program(ProgramPath(), {}, folder, logs + "/log.txt");
    setenv("PATH", path.c_str(), 1);
    ASSERT_TRUE(WaitFor([&] { return LabelShows(1, RED); }, 30)) << Log();
    MovePointer(x, 1800, 400);
    ASSERT_TRUE(WaitForHelpLine());

    ASSERT_TRUE(PressLabel(3, [&] { return LabelShows(3, RED); }));
    TapKey(x, XK_p);
    ASSERT_TRUE(WaitForNotice()) << Log();
    SavePng(Grab(x, 0, 0, 1920, 1080), "/tmp/quentaro-notice-player.png");
    EXPECT_NE(Log().find("kelvo: no player for clip.mp4: install mpv"), std::string::npos) << Log();
    ASSERT_TRUE(WaitForHelpLine());  // gone after a few seconds

    TapKey(x, XK_F7);
    ASSERT_TRUE(WaitForNotice());
    EXPECT_NE(Log().find("quentaro: no file manager found to open " + folder), std::string::npos)
        << Log();
    ASSERT_TRUE(WaitForHelpLine());

    // The page from clip.mp4 on: zbad.jpg's cell stays empty, and the notice says why.
    TapKey(x, XK_t);
    ASSERT_TRUE(WaitFor(
        [&] { return Log().find("cannot decode the picture zbad.jpg") != std::string::npos; }, 20))
        << Log();
    ASSERT_TRUE(WaitFor([&] { return !LabelShows(5, YELLOW); }, 20));  // the page is shown
    EXPECT_TRUE(WaitForNotice());
    TapKey(x, XK_t);
    ASSERT_TRUE(WaitFor([&] { return LabelShows(5, YELLOW); }, 20));

    // Into "sub", which then goes away: R finds the way back up, and says so.
    ASSERT_TRUE(PressLabel(5, [&] { return LabelShows(5, RED); }));
    ASSERT_TRUE(PressLabel(5, [&] { return !LabelShows(4, GREEN) && !LabelShows(3, GREEN); }));
    ASSERT_TRUE(WaitForHelpLine());
    fs::remove(folder + "/sub");
    TapKey(x, XK_r);
    ASSERT_TRUE(WaitFor([&] { return LabelShows(3, GREEN); }, 20)) << Log();
    EXPECT_TRUE(WaitForNotice());
    EXPECT_NE(Log().find("quentaro: cannot read " + folder + "/sub/: showing " + folder + "/"),
              std::string::npos)
        << Log();

    TapKey(x, XK_Escape);
    EXPECT_EQ(program.Wait(20), 0) << Log();
}

TEST_F(FailureDisplay, AFolderWithMoreEntriesThanTheTableHoldsSaysHowManyAreShown) {
    for (int i = 0; i < 3001; ++i) WriteFile(folder + "/f" + std::to_string(i), "");
    Process program(ProgramPath(), {}, folder, logs + "/log.txt");
    ASSERT_TRUE(WaitFor([&] { return LabelShows(1, RED); }, 30)) << Log();
    MovePointer(x, 1800, 400);
    EXPECT_TRUE(WaitForNotice());
    EXPECT_NE(Log().find("quentaro: showing 2999 of 3003 entries"), std::string::npos) << Log();
    SendCloseRequest(x, FindWindows(x, "GAME").front().window);
    EXPECT_EQ(program.Wait(20), 0) << Log();
}

TEST_F(FailureDisplay, ThePassThatHandlesTShowsThePageIsBeingReadBeforeItIs) {
    // Pictures large enough for the page to take a while.
    platform::Picture picture;
    picture.width = picture.fullWidth = 3000;
    picture.height = picture.fullHeight = 2000;
    picture.bgrx.resize(std::size_t(3000) * 2000 * 4);
    std::uint32_t noise = 1;
    for (std::size_t i = 0; i < picture.bgrx.size(); ++i) {
        noise = noise * 1103515245u + 12345u;
        picture.bgrx[i] = std::uint8_t((i / 4000) + (noise >> 28));
    }
    for (int i = 0; i < 16; ++i)
        ASSERT_TRUE(platform::WriteJpegFile(
            (folder + "/photo" + std::to_string(10 + i) + ".jpg").c_str(), picture, 90));
    Process program(ProgramPath(), {}, folder, logs + "/log.txt");
    ASSERT_TRUE(WaitFor([&] { return LabelShows(1, RED); }, 30)) << Log();
    MovePointer(x, 1800, 400);
    ASSERT_TRUE(WaitForHelpLine());
    TapKey(x, XK_t);
    // The list is still there, the help line says what is under way.
    bool seen = false;
    ASSERT_TRUE(WaitFor(
        [&] {
            bool listed = LabelShows(3, GREEN);
            seen = seen || (listed && NoticeShown());
            return !listed;
        },
        30));
    EXPECT_TRUE(seen);
    // Once the page is there, the help line is back.
    EXPECT_TRUE(WaitForHelpLine());
    SendCloseRequest(x, FindWindows(x, "GAME").front().window);
    EXPECT_EQ(program.Wait(20), 0) << Log();
}

TEST_F(FailureDisplay, AStartFolderTooLongForItsBuffersEndsTheProgramBeforeItsWindow) {
    std::string deep = folder;
    while (deep.size() <= 3000) deep += "/" + std::string(200, 'd');
    fs::create_directories(deep);
    Process program(ProgramPath(), {}, deep, logs + "/log.txt");
    EXPECT_EQ(program.Wait(20), 1) << Log();
    EXPECT_NE(Log().find("working folder's path is"), std::string::npos) << Log();
    EXPECT_TRUE(FindWindows(x, "GAME").empty());
}

TEST_F(FailureDisplay, ACloseRequestMadeWhileTheWindowIsRebuiltIsKept) {
    Process program(ProgramPath(), {}, folder, logs + "/log.txt");
    ASSERT_TRUE(WaitFor([&] { return LabelShows(1, RED); }, 30)) << Log();
    Window window = FindWindows(x, "GAME").front().window;
    // T and ']' pause the pass a third of a second before F5 rebuilds the window in it; the
    // close request comes during those pauses.
    TapKey(x, XK_t);
    TapKey(x, XK_bracketright);
    TapKey(x, XK_F5);
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    SendCloseRequest(x, window);
    EXPECT_EQ(program.Wait(20), 0) << Log();
}

}  // namespace
