// The media menu on a real X server: the overlay, the three views, folder moves, the
// player started beside the program and placed over it, the file manager, paging,
// resolution switches and quitting while another program has the focus.
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <sstream>

#include "display/harness.h"

using namespace harness;

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t YELLOW = 0xFFFF00, RED = 0xFF0000, GREEN = 0x00FF00, BLUE = 0x0000FF;
constexpr std::uint32_t BLACK = 0x000000;
constexpr const char* PLAYER_TITLE = "Kelvo video and audio player";

// The start-up frame of a 1920 x 1080 screen is 960 x 540 shown at scale 2 from the
// top-left corner; frame rows count from the bottom.
constexpr int FRAME_HEIGHT = 540;
int ScreenX(int frameX) {
    return 2 * frameX + 1;
}
int ScreenY(int frameY) {
    return 2 * (FRAME_HEIGHT - 1 - frameY) + 1;
}

class MenuDisplay : public ::testing::Test {
  protected:
    XServer server{1920, 1080};
    std::string folder = MakeTempFolder();  // start folder: the program's and the browsed one
    std::string logs = MakeTempFolder();

    void TearDown() override {
        // Players outlive the program by design; end the ones this test started.
        std::istringstream log(ReadFile(folder + "/kelvo-standin.log"));
        std::string word;
        while (log >> word)
            if (word == "pid" && log >> word) kill(std::stoi(word), SIGTERM);
        RemoveFolder(folder);
        RemoveFolder(logs);
    }

    void InstallStandInPlayer() {
        fs::create_symlink(BinaryDir() + "/tools/kelvo_standin/kelvo_standin", folder + "/kelvo");
    }

    std::string ProgramLog() { return ReadFile(logs + "/log.txt"); }

    FoundWindow WaitForWindow(const std::string& title, int width = 0) {
        std::vector<FoundWindow> windows;
        WaitFor(
            [&] {
                windows = FindWindows(server.display(), title);
                return !windows.empty() && (width == 0 || windows.front().width == width);
            },
            30);
        return windows.empty() ? FoundWindow{} : windows.front();
    }

    std::uint32_t FramePixel(int x, int y) {
        return Grab(server.display(), ScreenX(x) - 1, ScreenY(y) - 1, 1, 1).at(0, 0);
    }
    // Pixels of `colour` in the frame rectangle [x0, x1) x [y0, y1).
    int FrameCount(std::uint32_t colour, int x0, int y0, int x1, int y1) {
        int left = 2 * x0, top = 2 * (FRAME_HEIGHT - y1), w = 2 * (x1 - x0), h = 2 * (y1 - y0);
        Screenshot shot = Grab(server.display(), left, top, w, h);
        return FindColour(shot, colour, 0, 0, w, h).count;
    }
    bool WaitForFrame(const std::function<bool()>& condition) { return WaitFor(condition, 20); }

    void PressAt(int x, int y) {
        MovePointer(server.display(), ScreenX(x), ScreenY(y));
        RightClick(server.display());
    }
    void Tap(unsigned long keysym) { TapKey(server.display(), keysym); }

    // List label of entry k at offsets (dx, dy): pen at (10 + dx, 514 - 8k + dy); the
    // letters fill rows pen-5..pen-1, the pick strip pen-9..pen-1.
    struct Label {
        int x, y;
    };
    static Label ListLabel(int k, int dx = 0, int dy = 0) { return {10 + dx, 514 - 8 * k + dy}; }
    int LabelCount(std::uint32_t colour, Label label) {
        return FrameCount(colour, label.x, label.y - 7, label.x + 40, label.y + 2);
    }
    void PressLabel(Label label) { PressAt(label.x + 2, label.y - 4); }
};

TEST_F(MenuDisplay, OverlayThumbnailsFullViewPagingAndResolution) {
    // Entries: ".", "..", "kelvo", p01.bmp .. p20.bmp, "sub"; 18 cells a page.
    InstallStandInPlayer();
    fs::create_directory(folder + "/sub");
    for (int i = 1; i <= 20; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "/p%02d.bmp", i);
        std::uint32_t colour = i == 1 ? RED : i == 2 ? GREEN : i == 16 ? BLUE : 0x808080;
        WriteBmp(folder + name, 100, 100, colour);
    }
    Process program(ProgramPath(), {}, folder, logs + "/log.txt");
    FoundWindow window = WaitForWindow("GAME");
    ASSERT_NE(window.window, 0u) << ProgramLog();

    // Title, folder line and help line in yellow; the list's folders in yellow, files green.
    ASSERT_TRUE(WaitForFrame([&] { return FrameCount(YELLOW, 12, 523, 60, 530) > 20; }))
        << ProgramLog();
    EXPECT_GT(FrameCount(YELLOW, 70, 513, 250, 520), 40);  // the path runs past the title
    EXPECT_GT(FrameCount(YELLOW, 12, 8, 200, 14), 40);
    EXPECT_GT(LabelCount(RED, ListLabel(1)), 0);  // "." selected
    EXPECT_GT(LabelCount(GREEN, ListLabel(3)), 0);
    SavePng(Grab(server.display(), 0, 0, 1920, 1080), "/tmp/quentaro-list.png");

    // T: the first page; p01 (entry 4) in cell 3, p02 in cell 4 of the top row.
    Tap(XK_t);
    auto cellCentre = [](int cell) { return Label{140 * cell + 80, 439}; };
    ASSERT_TRUE(WaitForFrame([&] {
        return FramePixel(cellCentre(3).x, 439) == RED && FramePixel(cellCentre(4).x, 439) == GREEN;
    }));
    SavePng(Grab(server.display(), 0, 0, 1920, 1080), "/tmp/quentaro-thumbnails.png");

    // A press on p01 opens it in full; 7 centres it on the cursor. No buttons then.
    PressAt(cellCentre(3).x, 439);
    ASSERT_TRUE(WaitForFrame([&] { return FramePixel(cellCentre(4).x, 439) == BLACK; }));
    Tap(XK_7);
    ASSERT_TRUE(WaitForFrame([&] { return FramePixel(cellCentre(3).x + 10, 450) == RED; }));
    EXPECT_EQ(FrameCount(YELLOW, 260, 515, 500, 531), 0);
    EXPECT_GT(FrameCount(YELLOW, 12, 508, 80, 520), 10);  // its name and size lines
    // Any press returns to the page.
    PressAt(500, 200);
    ASSERT_TRUE(WaitForFrame([&] { return FramePixel(cellCentre(4).x, 439) == GREEN; }));

    // ']': the next page starts at entry 19, p16 in blue.
    Tap(XK_bracketright);
    ASSERT_TRUE(WaitForFrame([&] { return FramePixel(cellCentre(0).x, 439) == BLUE; }));
    // A press on empty space below the buttons shows the list.
    PressAt(500, 100);
    ASSERT_TRUE(WaitForFrame([&] { return LabelCount(GREEN, ListLabel(3)) > 0; }));
    EXPECT_EQ(FramePixel(cellCentre(0).x, 439), BLACK);

    // 0 hides the overlay.
    Tap(XK_0);
    ASSERT_TRUE(WaitForFrame([&] { return FrameCount(YELLOW, 12, 523, 60, 530) == 0; }));

    // F6: a 1280 x 960 frame in a window of the same size.
    Tap(XK_F6);
    window = WaitForWindow("GAME", 1280);
    EXPECT_EQ(window.width, 1280);
    EXPECT_EQ(window.height, 960);

    SendCloseRequest(server.display(), window.window);
    EXPECT_EQ(program.Wait(20), 0) << ProgramLog();
}

TEST_F(MenuDisplay, FoldersPlayerFileManagerAndEscapeWhileThePlayerHasTheFocus) {
    // Entries: ".", "..", "kelvo", "my clip.mp4", "sub" (inner.bmp inside).
    InstallStandInPlayer();
    WriteFile(folder + "/my clip.mp4", "not really a film");
    fs::create_directory(folder + "/sub");
    WriteBmp(folder + "/sub/inner.bmp", 8, 8, GREEN);
    // A stand-in file manager, first in the PATH the program inherits.
    fs::create_directory(logs + "/bin");
    WriteFile(logs + "/bin/xdg-open",
              "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + logs + "/opened.txt'\n");
    fs::permissions(logs + "/bin/xdg-open", fs::perms::owner_all);
    std::string path = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", (logs + "/bin:" + path).c_str(), 1);
    Process program(ProgramPath(), {}, folder, logs + "/log.txt");
    setenv("PATH", path.c_str(), 1);
    ASSERT_NE(WaitForWindow("GAME").window, 0u) << ProgramLog();
    ASSERT_TRUE(WaitForFrame([&] { return LabelCount(YELLOW, ListLabel(5)) > 0; })) << ProgramLog();

    // Two presses on "sub" move into it: three entries, the file in green.
    auto rowEmpty = [&](int k) {
        return LabelCount(RED, ListLabel(k)) + LabelCount(GREEN, ListLabel(k)) +
                   LabelCount(YELLOW, ListLabel(k)) ==
               0;
    };
    PressLabel(ListLabel(5));
    ASSERT_TRUE(WaitForFrame([&] { return LabelCount(RED, ListLabel(5)) > 0; }));
    PressLabel(ListLabel(5));
    ASSERT_TRUE(WaitForFrame([&] { return rowEmpty(5) && LabelCount(GREEN, ListLabel(3)) > 0; }));
    // Two presses on ".." come back up.
    PressLabel(ListLabel(2));
    ASSERT_TRUE(WaitForFrame([&] { return LabelCount(RED, ListLabel(2)) > 0; }));
    PressLabel(ListLabel(2));
    ASSERT_TRUE(WaitForFrame(
        [&] { return LabelCount(YELLOW, ListLabel(5)) > 0 && LabelCount(RED, ListLabel(1)) > 0; }));

    // CENTERCENTER shifts the list by (320, -180); the player will follow the shift.
    PressAt(404, 524);
    const int dx = 320, dy = -180;
    ASSERT_TRUE(WaitForFrame([&] { return LabelCount(GREEN, ListLabel(4, dx, dy)) > 0; }));
    // First press selects the film, the second starts the player.
    PressLabel(ListLabel(4, dx, dy));
    ASSERT_TRUE(WaitForFrame([&] { return LabelCount(RED, ListLabel(4, dx, dy)) > 0; }));
    PressLabel(ListLabel(4, dx, dy));
    ASSERT_TRUE(WaitFor(
        [&] { return ReadFile(folder + "/kelvo-standin.log").find("end") != std::string::npos; },
        20))
        << ProgramLog();
    std::string record = ReadFile(folder + "/kelvo-standin.log");
    std::string words = record.substr(record.find('\n') + 1);
    // The browsed folder ends with '/' after the moves: the separator comes out doubled.
    EXPECT_EQ(words, "word quorvale\nword " + folder + "//my*clip.mp4\nword 0\nend\n");
    FoundWindow player;
    ASSERT_TRUE(WaitFor(
        [&] {
            auto found = FindWindows(server.display(), PLAYER_TITLE);
            if (found.size() != 1) return false;
            player = found.front();
            return player.x == 640 && player.y == 360;
        },
        20))
        << player.x << "," << player.y;
    EXPECT_EQ(player.width, 600);
    EXPECT_EQ(player.height, 600);
    SavePng(Grab(server.display(), 0, 0, 1920, 1080), "/tmp/quentaro-player.png");

    // F7 opens the browsed folder with the desktop's opener.
    Tap(XK_F7);
    ASSERT_TRUE(WaitFor([&] { return !ReadFile(logs + "/opened.txt").empty(); }, 20));
    EXPECT_EQ(ReadFile(logs + "/opened.txt"), folder + "/\n");

    // Escape is seen even while the player holds the focus.
    ASSERT_TRUE(WaitFor([&] { return FocusedWindow(server.display()) == player.window; }, 10));
    Tap(XK_Escape);
    EXPECT_EQ(program.Wait(20), 0) << ProgramLog();
}

}  // namespace
