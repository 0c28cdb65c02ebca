// The program as a user installs it: `cmake --install` into a fresh prefix, then the
// installed program started from a folder that holds only the user's pictures. It must
// find its own pictures and player in PREFIX/share/quentaro, list the folder it was
// started in (or the one it was given), start the installed player on P, and quit on Escape.
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "display/harness.h"

using namespace harness;

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t YELLOW = 0xFFFF00, RED = 0xFF0000, GREEN = 0x00FF00;
constexpr const char* PLAYER_TITLE = "Kelvo video and audio player";
constexpr int FRAME_HEIGHT = 540;  // of a 1920 x 1080 screen, shown at scale 2

class Installed : public ::testing::Test {
  protected:
    XServer server{1920, 1080};
    std::string prefix = MakeTempFolder();
    std::string pictures = MakeTempFolder();  // the user's folder: three pictures, nothing else
    std::string logs = MakeTempFolder();

    void SetUp() override {
        std::string install = std::string("'") + QUENTARO_CMAKE_COMMAND + "' --install '" +
                              BinaryDir() + "' --prefix '" + prefix + "' > '" + logs +
                              "/install.txt' 2>&1";
        ASSERT_EQ(std::system(install.c_str()), 0) << ReadFile(logs + "/install.txt");
        WriteBmp(pictures + "/blue photo.bmp", 60, 60, 0x0000FF);
        WriteBmp(pictures + "/green.bmp", 60, 60, GREEN);
        WriteBmp(pictures + "/red.bmp", 60, 60, RED);
    }

    void TearDown() override {
        // Players outlive the program by design; end the ones this test started.
        std::istringstream log(ReadFile(pictures + "/kelvo-standin.log"));
        std::string word;
        while (log >> word)
            if (word == "pid" && log >> word) kill(std::stoi(word), SIGTERM);
        for (const std::string& folder : {prefix, pictures, logs}) RemoveFolder(folder);
    }

    std::string Program() const { return prefix + "/bin/quentaro"; }
    std::string ProgramLog() { return ReadFile(logs + "/log.txt"); }

    bool WaitForWindow(const std::string& title) {
        return WaitFor([&] { return !FindWindows(server.display(), title).empty(); }, 30);
    }

    // Pixels of `colour` on the list label of entry k: the pen of entry k stands at
    // frame (10, 514 - 8k), the letters fill the rows above it.
    int LabelCount(std::uint32_t colour, int k) {
        int x = 10, y = 514 - 8 * k;
        Screenshot shot = Grab(server.display(), 2 * x, 2 * (FRAME_HEIGHT - (y + 2)), 80, 18);
        return FindColour(shot, colour, 0, 0, 80, 18).count;
    }
    bool RowEmpty(int k) {
        return LabelCount(RED, k) + LabelCount(GREEN, k) + LabelCount(YELLOW, k) == 0;
    }
    // The list shows ".", "..", then `files` file entries, and nothing after them.
    bool ListsFiles(int files) {
        for (int k = 3; k < 3 + files; ++k)
            if (LabelCount(GREEN, k) + LabelCount(RED, k) == 0) return false;
        return RowEmpty(3 + files);
    }
    void PressLabel(int k) {
        int x = 12, y = 514 - 8 * k - 4;
        MovePointer(server.display(), 2 * x + 1, 2 * (FRAME_HEIGHT - 1 - y) + 1);
        RightClick(server.display());
    }
};

TEST_F(Installed, StartsFromAPicturesFolderWithItsOwnPicturesAndPlayer) {
    // A stand-in for mpv, first in the PATH the program and the installed adapter inherit.
    fs::create_directory(logs + "/bin");
    fs::create_symlink(BinaryDir() + "/tools/kelvo_standin/kelvo_standin", logs + "/bin/mpv");
    std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (logs + "/bin:" + path).c_str(), 1);
    Process program(Program(), {"--verbose"}, pictures, logs + "/log.txt");
    setenv("PATH", path.c_str(), 1);

    ASSERT_TRUE(WaitForWindow("GAME")) << ProgramLog();
    // Every picture of the engine came from the installed data folder.
    std::string data = fs::canonical(prefix + "/share/quentaro").string();
    EXPECT_NE(ProgramLog().find("quentaro: program files in " + data + "\n"), std::string::npos)
        << ProgramLog();
    EXPECT_NE(ProgramLog().find("quentaro: 214 picture slots loaded\n"), std::string::npos)
        << ProgramLog();
    // The list is the pictures folder's: ".", "..", three files and nothing else.
    ASSERT_TRUE(WaitFor([&] { return ListsFiles(3) && LabelCount(RED, 1) > 0; }, 20))
        << ProgramLog();
    SavePng(Grab(server.display(), 0, 0, 1920, 1080), "/tmp/quentaro-installed.png");

    // Select "blue photo.bmp" and play it: the installed adapter starts "mpv" on the file,
    // its name given back its space.
    PressLabel(3);
    ASSERT_TRUE(WaitFor([&] { return LabelCount(RED, 3) > 0; }, 20));
    TapKey(server.display(), XK_p);
    ASSERT_TRUE(WaitFor(
        [&] { return ReadFile(pictures + "/kelvo-standin.log").find("end") != std::string::npos; },
        20))
        << ProgramLog();
    std::string record = ReadFile(pictures + "/kelvo-standin.log");
    EXPECT_NE(record.find("word --title=Kelvo video and audio player\n"), std::string::npos)
        << record;
    EXPECT_NE(record.find("word " + fs::canonical(pictures).string() + "/blue photo.bmp\nend\n"),
              std::string::npos)
        << record;
    EXPECT_TRUE(WaitForWindow(PLAYER_TITLE));

    TapKey(server.display(), XK_Escape);
    EXPECT_EQ(program.Wait(20), 0) << ProgramLog();
}

TEST_F(Installed, AFolderArgumentIsListedAndTheCommandLineIsChecked) {
    std::string start = logs + "/start";
    fs::create_directory(start);
    WriteFile(start + "/only.txt", "one file here");

    // What the command line prints needs no display.
    Process help(Program(), {"--help"}, start, logs + "/help.txt");
    EXPECT_EQ(help.Wait(20), 0);
    EXPECT_EQ(ReadFile(logs + "/help.txt").rfind("Usage: quentaro", 0), 0u);
    Process version(Program(), {"--version"}, start, logs + "/version.txt");
    EXPECT_EQ(version.Wait(20), 0);
    EXPECT_EQ(ReadFile(logs + "/version.txt").rfind("quentaro ", 0), 0u);
    Process wrong(Program(), {"--fullscreen"}, start, logs + "/wrong.txt");
    EXPECT_EQ(wrong.Wait(20), 2);
    EXPECT_NE(ReadFile(logs + "/wrong.txt").find("unknown option '--fullscreen'"),
              std::string::npos);
    EXPECT_TRUE(FindWindows(server.display(), "GAME").empty());

    // The folder given is listed (three files), not the start folder (one).
    Process program(Program(), {pictures}, start, logs + "/log.txt");
    ASSERT_TRUE(WaitForWindow("GAME")) << ProgramLog();
    ASSERT_TRUE(WaitFor([&] { return ListsFiles(3); }, 20)) << ProgramLog();
    // R reads the folder again: still the one given, though the start folder stays current.
    WriteBmp(pictures + "/yellow.bmp", 8, 8, YELLOW);
    TapKey(server.display(), XK_r);
    ASSERT_TRUE(WaitFor([&] { return ListsFiles(4); }, 20)) << ProgramLog();
    TapKey(server.display(), XK_Escape);
    EXPECT_EQ(program.Wait(20), 0) << ProgramLog();
}

}  // namespace
