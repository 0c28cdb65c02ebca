// The Windows package under wine, unpacked into a folder whose path holds a space and an
// accented letter, on its own X server. The media menu: its window opens at the screen's
// corner with the overlay on it, a BMP and a camera JPEG of the start folder show upright on
// the thumbnail page (decoded by the system's picture service), a resolution switch makes the
// window anew without a failure, and Escape ends it with status 0; started in its own folder,
// it finds its pictures and plays a file with kelvo.exe and the mpv.exe beside it, placing the
// player's window. The player alone says in a message box what keeps it from playing. The
// game: its map in the picture set's colours, keys that scroll, save and end it. Wine reports
// status 0 even for a program that never ran, so the screen is the evidence. The package
// folder, the stand-in player and wine come from the environment (scripts/windows_test.sh).
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <thread>

#include "display/harness.h"
#include "platform/platform.h"

using namespace harness;

namespace {

namespace fs = std::filesystem;

std::string Environment(const char* name, const char* otherwise) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : otherwise;
}

// The unpacked package, and wine to run its programs with.
std::string Package() {
    return Environment("QUENTARO_WINDOWS_FOLDER", "");
}
std::string Wine() {
    return Environment("QUENTARO_WINE", "/usr/bin/wine");
}

void Pause(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// Frame 960 x 540 at pixel scale 2 from the screen's top-left corner; frame rows count from
// the bottom.
int ScreenX(int frameX) {
    return 2 * frameX + 1;
}
int ScreenY(int frameY) {
    return 2 * (539 - frameY) + 1;
}

constexpr std::uint32_t RED = 0xFF0000, GREEN = 0x00FF00, BLUE = 0x0000FF, WHITE = 0xFFFFFF;
constexpr std::uint32_t MAGENTA = 0xC000C0, YELLOW = 0xFFFF00;

// A photo of four quadrants (red, green above blue, white) as a camera stores it turned
// (EXIF orientation 6, stored 140 x 280): once upright, 280 x 140 with blue and red on top,
// white and green below.
void WriteTurnedPhoto(const std::string& path) {
    const int width = 140, height = 280;
    platform::Picture p;
    p.width = p.fullWidth = width;
    p.height = p.fullHeight = height;
    p.bgrx.resize(std::size_t(width) * height * 4);
    for (int y = 0; y < height; ++y)  // y from the bottom
        for (int x = 0; x < width; ++x) {
            bool top = y >= height / 2, left = x < width / 2;
            std::uint32_t c = top ? (left ? RED : GREEN) : (left ? BLUE : WHITE);
            std::uint8_t* o = &p.bgrx[(std::size_t(y) * width + x) * 4];
            o[0] = std::uint8_t(c), o[1] = std::uint8_t(c >> 8), o[2] = std::uint8_t(c >> 16);
        }
    ASSERT_TRUE(platform::WriteJpegFile(path.c_str(), p, 95, 6));
}

bool Near(std::uint32_t got, std::uint32_t want) {
    for (int shift : {0, 8, 16})
        if (std::abs(int((got >> shift) & 255) - int((want >> shift) & 255)) > 40) return false;
    return true;
}

// Cells of 140 x 140 frame pixels, six to a row from the top-left; entries ".", "..",
// "a.bmp", "b.jpg" fill cells 0 to 3.
std::pair<int, int> CellOrigin(int cell) {
    return {140 * (cell % 6) + 10, 540 - 140 * (cell / 6) - 140 - 31};
}

// The screen colour at frame point (x, y) from a cell's origin.
std::uint32_t CellColour(const Screenshot& shot, int cell, int x, int y) {
    auto [x0, y0] = CellOrigin(cell);
    return shot.at(ScreenX(x0 + x), ScreenY(y0 + y));
}

TEST(WineSmoke, WindowOverlayThumbnailsAndEscape) {
    XServer server{1920, 1080};
    Display* x = server.display();
    std::string folder = MakeTempFolder();
    std::string log = folder + "/../wine-smoke-log.txt";
    WriteBmp(folder + "/a.bmp", 140, 140, MAGENTA);
    WriteTurnedPhoto(folder + "/b.jpg");

    ASSERT_FALSE(Package().empty()) << "QUENTARO_WINDOWS_FOLDER names no package folder";
    Process wine(Wine(), {Package() + "/quentaro.exe", "--verbose"}, folder, log);

    // The window at the corner, the size of the screen, and the overlay's title on it.
    std::vector<FoundWindow> found;
    ASSERT_TRUE(WaitFor([&] { return !(found = FindWindows(x, "GAME")).empty(); }, 90))
        << ReadFile(log);
    EXPECT_EQ(found[0].x, 0);
    EXPECT_EQ(found[0].y, 0);
    ASSERT_TRUE(WaitFor(
        [&] { return FindColour(Grab(x, 0, 0, 200, 40), YELLOW, 0, 0, 200, 40).count > 0; }, 60))
        << ReadFile(log);

    // Wine's hooks hear only input aimed at its own windows: the pointer stays over the window,
    // away from the cells.
    MovePointer(x, 1900, 1060);
    TapKey(x, XK_t);
    Screenshot shot;
    auto pageShown = [&] {
        shot = Grab(x, 0, 0, 1920, 1080);
        return Near(CellColour(shot, 2, 70, 35), MAGENTA) &&
               Near(CellColour(shot, 3, 35, 52), BLUE) && Near(CellColour(shot, 3, 105, 52), RED) &&
               Near(CellColour(shot, 3, 35, 17), WHITE) &&
               Near(CellColour(shot, 3, 105, 17), GREEN);
    };
    bool shown = WaitFor(pageShown, 60);
    SavePng(shot, folder + "/../wine-smoke-page.png");
    ASSERT_TRUE(shown) << "the thumbnails are not shown (see wine-smoke-page.png)\n"
                       << ReadFile(log);

    // A resolution switch closes the window and makes it anew, each step checked: the new
    // window comes at its new size, and no step failed with a message box.
    TapKey(x, XK_F6);
    ASSERT_TRUE(WaitFor(
        [&] {
            found = FindWindows(x, "GAME");
            return found.size() == 1 && found[0].width == 1280 && found[0].height == 960;
        },
        60))
        << ReadFile(log);
    EXPECT_EQ(CountWindowsNamed(x, "GAME"), 1);
    EXPECT_TRUE(FindWindows(x, "ERROR").empty());
    ASSERT_TRUE(WaitFor(
        [&] { return FindColour(Grab(x, 0, 0, 200, 40), YELLOW, 0, 0, 200, 40).count > 0; }, 60));

    MovePointer(x, 1260, 940);  // over the smaller window again
    TapKey(x, XK_Escape);
    EXPECT_EQ(wine.Wait(60), 0) << ReadFile(log);
    EXPECT_TRUE(WaitFor([&] { return FindWindows(x, "GAME").empty(); }, 10));
    // Started elsewhere, the program took its pictures from its own folder.
    EXPECT_NE(ReadFile(log).find("quentaro: 214 picture slots loaded"), std::string::npos)
        << ReadFile(log);
    RemoveFolder(folder);
}

// Started in its own folder (as a double click does) with a folder to browse: the pictures
// and the player are the package's, and the player's window is placed over the menu's.
TEST(WineSmoke, ThePackagesPlayerPlaysAFileNamedWithSpaces) {
    XServer server{1920, 1080};
    Display* x = server.display();
    std::string media = MakeTempFolder();
    std::string log = media + "/../wine-player-log.txt";
    WriteFile(media + "/my clip.mp4", "film");
    const std::string standinLog = Package() + "/mpv-standin.log";
    fs::remove(standinLog);
    fs::copy_file(Environment("QUENTARO_MPV_STANDIN", ""), Package() + "/mpv.exe",
                  fs::copy_options::overwrite_existing);
    Process wine(Wine(), {Package() + "/quentaro.exe", "--verbose", media}, Package(), log);
    ASSERT_TRUE(WaitFor([&] { return !FindWindows(x, "GAME").empty(); }, 90)) << ReadFile(log);

    // The list: ".", "..", "my clip.mp4"; its third label, pressed twice, plays the file.
    MovePointer(x, 2 * 12 + 1, 2 * (539 - (514 - 8 * 3 - 4)) + 1);
    ASSERT_TRUE(WaitFor(
        [&] { return FindColour(Grab(x, 0, 0, 200, 40), YELLOW, 0, 0, 200, 40).count > 0; }, 60));
    RightClick(x);
    Pause(0.5);
    RightClick(x);
    ASSERT_TRUE(WaitFor([&] { return ReadFile(standinLog).find("end") != std::string::npos; }, 30))
        << ReadFile(log);
    const std::string words = ReadFile(standinLog);
    EXPECT_NE(words.find("word --title=Kelvo video and audio player\n"), std::string::npos)
        << words;
    // The path as wine names the media folder, with the space given back.
    EXPECT_NE(words.find("my clip.mp4\nend\n"), std::string::npos) << words;
    std::vector<FoundWindow> player;
    EXPECT_TRUE(WaitFor(
        [&] {
            player = FindWindows(x, "Kelvo video and audio player");
            return player.size() == 1 && player[0].x == 0 && player[0].y == 0 &&
                   player[0].width == 600 && player[0].height == 600;
        },
        20))
        << (player.empty() ? "no player window" : "player window elsewhere");
    EXPECT_NE(ReadFile(log).find("(the start folder)"), std::string::npos) << ReadFile(log);
    EXPECT_NE(ReadFile(log).find("quentaro: 214 picture slots loaded"), std::string::npos);

    // The stand-in ends when its window is closed, and the adapter with it. A key typed before
    // its window is gone goes to the closing program, which reads no more input: the Escape
    // waits for the window to go, as a user's hand does.
    if (!player.empty()) SendCloseRequest(x, player[0].window);
    EXPECT_TRUE(WaitFor(
        [&] { return FindWindows(x, "Kelvo video and audio player").empty(); }, 20));
    MovePointer(x, 1900, 1060);
    TapKey(x, XK_Escape);
    EXPECT_EQ(wine.Wait(60), 0) << ReadFile(log);
    fs::remove(Package() + "/mpv.exe");
    fs::remove(standinLog);
    RemoveFolder(media);
}

// Without mpv the player hands the file to the program Windows has for it, and says so once.
// Without a file, for a program or a script, or for a file nothing opens, it plays nothing and
// says why in a box of its own.
TEST(WineSmoke, ThePlayerWithoutMpvOpensFilesAndSaysWhyNot) {
    XServer server{1024, 768};
    Display* x = server.display();
    std::string folder = MakeTempFolder();
    // The player alone, with no mpv beside it or on PATH; a file type of the test's own whose
    // program is the stand-in, under another name.
    fs::copy_file(Package() + "/kelvo.exe", folder + "/kelvo.exe");
    fs::copy_file(Environment("QUENTARO_MPV_STANDIN", ""), folder + "/viewer.exe");
    const std::string windows = "Z:" + folder;
    WriteFile(folder + "/types.reg",
              "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\.quentaro-view]\n@=\"QuentaroView\"\n\n"
              "[HKEY_CLASSES_ROOT\\QuentaroView\\shell\\open\\command]\n"
              "@=\"\\\"" +
                  windows + "/viewer.exe\\\" \\\"%1\\\"\"\n");
    ASSERT_EQ(Process(Wine(), {"regedit", "/S", windows + "/types.reg"}, folder).Wait(60), 0);
    WriteFile(folder + "/my film.quentaro-view", "film");
    WriteFile(folder + "/song.quentaro-none", "no program opens this");
    WriteFile(folder + "/setup.bat", "echo ran > ran.txt\r\n");
    const struct passwd* user = getpwuid(getuid());
    ASSERT_NE(user, nullptr);
    const std::string told = Environment("WINEPREFIX", "") + "/drive_c/users/" + user->pw_name +
                             "/AppData/Local/quentaro/kelvo-default-player-told.txt";
    fs::remove(told);

    // Runs the player on `written`; answers its box if one comes; returns its status.
    auto play = [&](const std::string& written, bool box) {
        std::string log = folder + "/kelvo-log.txt";
        Process kelvo(Wine(), {folder + "/kelvo.exe", "quorvale", written, "0"}, folder, log);
        std::vector<FoundWindow> found;
        bool shown =
            WaitFor([&] { return !(found = FindWindows(x, "kelvo")).empty(); }, box ? 60 : 3);
        EXPECT_EQ(shown, box) << written << "\n" << ReadFile(log);
        // Closed like any window: the program it opened may have the keyboard by now.
        if (shown) SendCloseRequest(x, found[0].window);
        return kelvo.Wait(30);
    };
    EXPECT_EQ(play(windows + "/my*film.quentaro-view", true), 0);
    EXPECT_TRUE(WaitFor(
        [&] { return ReadFile(folder + "/mpv-standin.log").find("end") != std::string::npos; },
        20));
    std::string opened = windows + "/my film.quentaro-view";
    std::replace(opened.begin(), opened.end(), '/', '\\');
    EXPECT_EQ(ReadFile(folder + "/mpv-standin.log"), "word " + opened + "\nend\n");
    EXPECT_TRUE(fs::exists(told));
    EXPECT_EQ(play(windows + "/my*film.quentaro-view", false), 0);

    EXPECT_EQ(play(windows + "/gone*clip.mp4", true), 1);
    EXPECT_EQ(play(windows + "/setup.bat", true), 1);
    EXPECT_EQ(play(windows + "/song.quentaro-none", true), 1);
    Pause(0.5);
    EXPECT_FALSE(fs::exists(folder + "/ran.txt"));
    for (const FoundWindow& viewer : FindWindows(x, "mpv")) SendCloseRequest(x, viewer.window);
    RemoveFolder(folder);
}

// The game: the first overworld in the picture set's colours, an arrow key that scrolls it,
// F6 that saves it into the package's map folder, Escape that ends it.
TEST(WineSmoke, TheGameScrollsSavesAndEnds) {
    XServer server{1024, 768};
    Display* x = server.display();
    std::string log = Package() + "/../wine-korvis-log.txt";
    const std::string saved = Package() + "/map/1.overworld";
    fs::remove(saved);
    // The colours of the plain's picture, 16 x 16 pixels of 3 bytes after a 54-byte header.
    std::set<std::uint32_t> plain;
    const std::string bmp = ReadFile(Package() + "/bmp_land/plain.bmp");
    ASSERT_EQ(bmp.size(), 54u + 16 * 16 * 3);
    for (std::size_t at = 54; at + 2 < bmp.size(); at += 3)
        plain.insert(std::uint32_t((unsigned char)bmp[at + 2]) << 16 |
                     std::uint32_t((unsigned char)bmp[at + 1]) << 8 | (unsigned char)bmp[at]);

    Process wine(Wine(), {Package() + "/korvis.exe", "--seed", "42"}, Package(), log);
    std::vector<FoundWindow> found;
    ASSERT_TRUE(WaitFor([&] { return !(found = FindWindows(x, "KORVIS")).empty(); }, 90))
        << ReadFile(log);
    ASSERT_EQ(found[0].width, 640);
    ASSERT_EQ(found[0].height, 480);
    // The keys go to the window that has the focus, wherever the pointer is.
    MovePointer(x, 1000, 740);
    // The map below the title strip, the status line and the help line.
    auto map = [&] { return Grab(x, found[0].x, found[0].y + 80, 640, 480 - 80); };
    auto plainShare = [&](const Screenshot& shot) {
        int hits = 0;
        for (std::uint32_t p : shot.pixels) hits += plain.count(p) ? 1 : 0;
        return double(hits) / double(shot.pixels.size());
    };
    Screenshot first;
    ASSERT_TRUE(WaitFor([&] { return plainShare(first = map()) > 0.2; }, 120))
        << "plain tiles cover " << plainShare(map()) << " of the map\n"
        << ReadFile(log);

    // The engine polls the keys once a pass: a short hold is seen.
    auto hold = [&](unsigned long key) {
        PressKey(x, key);
        Pause(0.1);
        ReleaseKey(x, key);
    };
    hold(XK_Right);
    EXPECT_TRUE(WaitFor([&] { return map().pixels != first.pixels; }, 10))
        << "the map did not scroll";
    hold(XK_F6);
    EXPECT_TRUE(WaitFor([&] { return fs::exists(saved) && fs::file_size(saved) == 65536; }, 20))
        << ReadFile(log);
    hold(XK_Escape);
    EXPECT_EQ(wine.Wait(30), 0) << ReadFile(log);
    fs::remove(saved);
}

}  // namespace
