// The engine's host program on a real X server, driven with XTEST like a player: a short game
// played to its winner, the first overworld in the default picture set's colours, a console
// teleport into a dungeon, the first-person scene, a strategic turn played with the left
// button, a saved overworld loaded back, Escape, and the same seed drawing the same screen.
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <thread>

#include "display/harness.h"
#include "display/korvis_world.h"

// After the harness: Xlib's macros (None) would spoil the test framework's headers.
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

using namespace harness;

namespace {

constexpr int WIDTH = 640, HEIGHT = 480;  // 320 x 240 at pixel scale 2
// Below the lines at the top: the title strip (14 frame rows), the status and the help line
// (12 each), the map.
constexpr int TITLE_BOTTOM = 28, STATUS_BOTTOM = 52, HELP_BOTTOM = 76;
constexpr int MAP_TOP = HELP_BOTTOM + 4, MAP_BOTTOM = HEIGHT - 4;

// Every colour of the 24-bit BMP files in `folder`.
std::set<std::uint32_t> PictureColours(const std::string& folder, const std::string& only = "") {
    std::set<std::uint32_t> colours;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!only.empty() && entry.path().filename() != only) continue;
        std::string bytes = ReadFile(entry.path().string());
        if (bytes.size() < 54) continue;
        auto u32 = [&](int at) {
            return std::uint32_t((unsigned char)bytes[at]) |
                   std::uint32_t((unsigned char)bytes[at + 1]) << 8 |
                   std::uint32_t((unsigned char)bytes[at + 2]) << 16 |
                   std::uint32_t((unsigned char)bytes[at + 3]) << 24;
        };
        const int offset = int(u32(10)), width = int(u32(18)), height = int(u32(22));
        const int rowBytes = (width * 3 + 3) & ~3;
        if (offset + std::size_t(rowBytes) * height > bytes.size()) continue;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const char* p = bytes.data() + offset + y * rowBytes + x * 3;
                colours.insert(std::uint32_t((unsigned char)p[2]) << 16 |
                               std::uint32_t((unsigned char)p[1]) << 8 | (unsigned char)p[0]);
            }
    }
    return colours;
}

// The share of the map area's pixels whose colour is one of `colours`.
double Share(const Screenshot& shot, const std::set<std::uint32_t>& colours) {
    int hits = 0, all = 0;
    for (int y = MAP_TOP; y < MAP_BOTTOM; ++y)
        for (int x = 0; x < shot.width; ++x, ++all) hits += colours.count(shot.at(x, y)) ? 1 : 0;
    return all ? double(hits) / all : 0;
}

bool SameMap(const Screenshot& a, const Screenshot& b) {
    for (int y = MAP_TOP; y < MAP_BOTTOM; ++y)
        for (int x = 0; x < a.width; ++x)
            if (a.at(x, y) != b.at(x, y)) return false;
    return true;
}

void Pause(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

class KorvisDisplay : public ::testing::Test {
  protected:
    XServer server{1024, 768};
    Display* x = server.display();
    std::string folder = MakeTempFolder();
    std::set<std::uint32_t> land = PictureColours(BinaryDir() + "/bmp_land", "plain.bmp");
    std::set<std::uint32_t> dungeon = PictureColours(BinaryDir() + "/bmp_dungeon");
    std::set<std::uint32_t> cube = PictureColours(BinaryDir() + "/bmp_cube");
    FoundWindow window;

    void SetUp() override {
        // The picture folders from the build; korvis makes map/ when it starts.
        for (const char* name : {"bmp_cross", "bmp_unit", "bmp_land", "bmp_dungeon",
                                 "bmp_structure", "bmp_item", "bmp_scr", "bmp_cube"})
            ASSERT_EQ(symlink((BinaryDir() + "/" + name).c_str(), (folder + "/" + name).c_str()),
                      0);
    }
    void TearDown() override { RemoveFolder(folder); }

    Screenshot Shot() { return Grab(x, window.x, window.y, WIDTH, HEIGHT); }

    // Waits for the window and for a first overworld frame in the picture set's colours.
    void WaitForOverworld(Process&) {
        ASSERT_TRUE(WaitFor([&] { return !FindWindows(x, "KORVIS").empty(); }, 60));
        window = FindWindows(x, "KORVIS").front();
        ASSERT_EQ(window.width, WIDTH);
        ASSERT_EQ(window.height, HEIGHT);
        MovePointer(x, window.x + WIDTH - 8, window.y + HEIGHT - 60);
        ASSERT_TRUE(WaitFor([&] { return Share(Shot(), land) > 0.2; }, 60))
            << "plain tiles cover " << Share(Shot(), land) << " of the map";
    }

    // Ten keys a second, each down for 50 ms: the engine's poll counts a press it did not see
    // held once.
    void Tap(unsigned long keysym) {
        PressKey(x, keysym);
        Pause(0.05);
        ReleaseKey(x, keysym);
        Pause(0.05);
    }
    void Type(const std::string& text) {
        for (char c : text) Tap(c == ' ' ? XK_space : (unsigned long)c);
    }
    void Command(const std::string& text) {
        Tap(XK_Tab);
        Pause(0.3);
        Type(text);
        Tap(XK_Return);
        Pause(0.3);
        Tap(XK_Tab);
        Pause(0.3);
    }
    std::vector<std::string> Args(unsigned seed) { return {"--seed", std::to_string(seed)}; }
    std::string Program() { return BinaryDir() + "/korvis"; }
};

// A short game as a newcomer plays it, through the window only: the help, a town refused and
// then towns founded on the way to the other kingdom's capital until the game has its
// winner, no turn under the banner, a teleport typed at ten keys a second, a walk down a
// corridor of the scene and back, a save and a load, a new game and Escape.
class KorvisGame : public KorvisDisplay {
  protected:
    static constexpr unsigned SEED = 11;
    static constexpr int KINGDOMS = 2;
    int viewX = 0, viewY = 0;  // the map cell at the view's origin, as the test keeps track
    std::vector<std::pair<int, int>> mine;  // the player's records on the overworld

    Screenshot Rows(int top, int bottom) {
        return Grab(x, window.x, window.y + top, WIDTH, bottom - top);
    }
    // Pixels of one colour in screen rows [top, bottom) of the window.
    int Count(std::uint32_t colour, int top, int bottom) {
        return FindColour(Rows(top, bottom), colour, 0, 0, WIDTH, bottom - top).count;
    }
    // The title's letters: its white pixels, which the backdrop's noise and rings never are.
    std::vector<bool> Title() {
        std::vector<bool> white;
        for (std::uint32_t p : Rows(0, TITLE_BOTTOM).pixels) white.push_back(p == 0xFFFFFF);
        return white;
    }
    std::vector<std::uint32_t> StatusLine() { return Rows(TITLE_BOTTOM, STATUS_BOTTOM).pixels; }
    bool Noticed() { return Count(0xFFDC5A, STATUS_BOTTOM, HELP_BOTTOM) > 40; }
    // The winner's banner across the map: green for a win, red for a loss.
    bool Banner() {
        return Count(0x145A1E, MAP_TOP, MAP_BOTTOM) + Count(0x6E1414, MAP_TOP, MAP_BOTTOM) > 4000;
    }
    // A press and release between two of the program's polls, as a quick finger gives them.
    void Press(unsigned long keysym) { TapKey(x, keysym); }
    void ClickCell(int cellX, int cellY) {
        const int column = (cellX - viewX) * 16 + 8, row = (cellY - viewY) * 16 + 8;
        MovePointer(x, window.x + 2 * column, window.y + 2 * (239 - row));
        Pause(0.05);
        XTestFakeButtonEvent(x, 1, True, CurrentTime);
        XTestFakeButtonEvent(x, 1, False, CurrentTime);
        XSync(x, False);
    }
    // A town site in view the rule allows (8 to 13 cells from one of the player's records, no
    // nearer to any), nearest to `target`.
    bool NextSite(std::pair<int, int> target, int& siteX, int& siteY) {
        int best = -1;
        for (int y = viewY; y < viewY + 12; ++y)
            for (int x0 = viewX; x0 < viewX + 20; ++x0) {
                bool near = false, apart = true;
                for (auto [mx, my] : mine) {
                    const int d = std::abs(mx - x0) + std::abs(my - y);
                    apart = apart && d >= 8;
                    near = near || d < 14;
                }
                const int d = std::abs(target.first - x0) + std::abs(target.second - y);
                if (near && apart && (best < 0 || d < best)) best = d, siteX = x0, siteY = y;
            }
        return best >= 0;
    }
    // The console line as drawn at frame (14, 73), scaled, against the text's own pixels.
    bool ConsoleShows(const std::string& text) {
        const auto rows = korvis_world::LargeTextRows(text, 320);
        Screenshot line = Rows(2 * (239 - 72), 2 * (239 - 72) + 24);
        for (int r = 0; r < 12; ++r)
            for (int c = 0; c < 8 * int(text.size()); ++c)
                if ((line.at(2 * (14 + c), 2 * r) == 0xFFFFFF) != rows[r][c]) return false;
        return true;
    }
};

TEST_F(KorvisGame, AShortGameAsANewcomerPlaysIt) {
    const auto capitals = korvis_world::Capitals(SEED, KINGDOMS);
    Process korvis(Program(),
                   {"--seed", std::to_string(SEED), "--kingdoms", std::to_string(KINGDOMS)}, folder,
                   folder + "/log.txt");
    WaitForOverworld(korvis);
    XClassHint windowClass{};
    ASSERT_TRUE(XGetClassHint(x, window.window, &windowClass));
    EXPECT_STREQ(windowClass.res_name, "korvis");
    XFree(windowClass.res_name);
    XFree(windowClass.res_class);
    const auto [capitalX, capitalY] = capitals[0];
    viewX = capitalX - 10;  // the first view centres the player's capital below the lines
    viewY = capitalY - 6;
    mine = {capitals[0]};

    // The help's two pages over the whole window, and Escape back to the map.
    auto helpShown = [&] { return Count(0x0C0C1C, 0, HEIGHT) > WIDTH * HEIGHT / 2; };
    Press(XK_h);
    ASSERT_TRUE(WaitFor(helpShown, 10));
    const Screenshot firstPage = Shot();
    Press(XK_h);
    ASSERT_TRUE(WaitFor([&] { return helpShown() && Shot().pixels != firstPage.pixels; }, 10));
    Press(XK_Escape);
    ASSERT_TRUE(WaitFor([&] { return Share(Shot(), land) > 0.2; }, 10));
    ASSERT_TRUE(korvis.Running());

    // Two cells from the capital is too near: the turn stays, the notice line says why.
    const std::vector<bool> title = Title();
    ClickCell(capitalX + 2, capitalY);
    EXPECT_TRUE(WaitFor([&] { return Noticed(); }, 10));
    EXPECT_EQ(Title(), title);

    // Towns on the way to kingdom 2's capital, which key 2 brings into view, until one
    // kingdom is left; each founded town plays a turn, which the title counts.
    int turns = 0;
    while (!Banner() && turns < 13) {
        if (turns == 1) {
            const Screenshot before = Shot();
            Press(XK_2);
            ASSERT_TRUE(WaitFor([&] { return !SameMap(Shot(), before); }, 10));
            std::tie(viewX, viewY) = capitals[1];
        }
        int siteX = 0, siteY = 0;
        ASSERT_TRUE(NextSite(capitals[1], siteX, siteY)) << "turn " << turns;
        const std::vector<bool> titleBefore = Title();
        ClickCell(siteX, siteY);
        ASSERT_TRUE(WaitFor([&] { return Banner() || Title() != titleBefore; }, 10))
            << ReadFile(folder + "/log.txt");
        mine.push_back({siteX, siteY});
        ++turns;
    }
    // Past the settling turns the left button held plays on to the end.
    if (!Banner()) PressButton(x, 1, true);
    ASSERT_TRUE(WaitFor([&] { return Banner(); }, 60)) << turns << " towns";
    PressButton(x, 1, false);
    // Under the banner the button plays no more turns.
    const std::vector<bool> wonTitle = Title();
    PressButton(x, 1, true);
    Pause(1.6);
    PressButton(x, 1, false);
    EXPECT_EQ(Title(), wonTitle);

    // A teleport typed at ten keys a second: every letter on the line, the walker on level 5.
    Press(XK_Tab);
    ASSERT_TRUE(WaitFor([&] { return Count(0x000000, 330, 360) > WIDTH * 20; }, 5));  // its plate
    const std::string command = "env4teleport 100 110 5";
    Type(command);
    EXPECT_TRUE(WaitFor([&] { return ConsoleShows("CMD:" + command); }, 5));
    Press(XK_Return);
    EXPECT_TRUE(WaitFor([&] { return Share(Shot(), dungeon) > 0.3; }, 10));
    Press(XK_Escape);  // closes the console, not the game
    Pause(0.5);
    ASSERT_TRUE(korvis.Running());

    // Down the corridor along +y and back with Z to the wall at its start: the status line
    // gives the walker's cell, and the map after the walk stays on level 5.
    Press(XK_F5);
    ASSERT_TRUE(WaitFor([&] { return Share(Shot(), cube) > 0.3; }, 10));
    const std::vector<std::uint32_t> start = StatusLine();
    PressButton(x, 1, true);
    Pause(1.5);
    PressButton(x, 1, false);
    EXPECT_TRUE(WaitFor([&] { return StatusLine() != start; }, 5));
    Press(XK_F5);
    EXPECT_TRUE(WaitFor([&] { return Share(Shot(), dungeon) > 0.3; }, 10));
    EXPECT_LT(Share(Shot(), land), 0.02);
    Press(XK_F5);
    ASSERT_TRUE(WaitFor([&] { return Share(Shot(), cube) > 0.3; }, 10));
    PressKey(x, XK_z);
    Pause(1.5);
    ReleaseKey(x, XK_z);
    EXPECT_TRUE(WaitFor([&] { return StatusLine() == start; }, 5));
    Press(XK_F5);

    // F6 saves the overworld, F7 loads it back and says so.
    const std::string file = folder + "/map/1.overworld";
    Press(XK_F6);
    EXPECT_TRUE(WaitFor([&] { return ReadFile(file).size() == 65536; }, 10));
    Pause(1.0);
    Press(XK_F7);
    EXPECT_TRUE(WaitFor([&] { return Noticed(); }, 10));

    // N: a new world from a new seed, on its first turn, with no banner.
    Press(XK_n);
    EXPECT_TRUE(WaitFor([&] { return !Banner() && Share(Shot(), land) > 0.05; }, 30));
    EXPECT_NE(Title(), wonTitle);
    Press(XK_Escape);
    EXPECT_EQ(korvis.Wait(20), 0) << ReadFile(folder + "/log.txt");
}

TEST_F(KorvisDisplay, TeleportSceneAndEscape) {
    Process korvis(Program(), Args(7), folder, folder + "/log.txt");
    WaitForOverworld(korvis);
    // Into a dungeon level: its cells fill the view, the overworld's plain is gone.
    Screenshot overworld = Shot();
    for (int attempt = 0; attempt < 3 && Share(Shot(), dungeon) < 0.3; ++attempt)
        Command("env4teleport 128 128 5");
    Screenshot level = Shot();
    EXPECT_GT(Share(level, dungeon), 0.3) << ReadFile(folder + "/log.txt");
    EXPECT_LT(Share(level, land), 0.02);
    EXPECT_FALSE(SameMap(overworld, level));
    // The scene on the walker's level: textured walls around it.
    Tap(XK_F5);
    ASSERT_TRUE(WaitFor([&] { return Share(Shot(), cube) > 0.3; }, 10))
        << "wall texture covers " << Share(Shot(), cube);
    // And back to the tile map of that level, around the walker.
    Tap(XK_F5);
    EXPECT_TRUE(WaitFor([&] { return Share(Shot(), dungeon) > 0.3; }, 10));
    EXPECT_LT(Share(Shot(), land), 0.02);
    Tap(XK_Escape);
    EXPECT_EQ(korvis.Wait(20), 0);
}

TEST_F(KorvisDisplay, LeftButtonPlaysATurnShownInTheTitle) {
    Process korvis(Program(), Args(7), folder);
    WaitForOverworld(korvis);
    // The title's white text, at the top of the window.
    auto titleText = [&] {
        Screenshot shot = Grab(x, window.x, window.y, WIDTH, 28);
        std::vector<bool> white;
        for (std::uint32_t p : shot.pixels) white.push_back(p == 0xFFFFFFu);
        return white;
    };
    const std::vector<bool> before = titleText();
    // A town site ten cells from the player's capital, which the first view centres.
    MovePointer(x, window.x + 1 * 32 + 16, window.y + HEIGHT - (7 * 32 + 16));
    Pause(0.3);
    PressButton(x, 1, true);
    Pause(0.3);
    PressButton(x, 1, false);
    EXPECT_TRUE(WaitFor([&] { return titleText() != before; }, 10));
    Tap(XK_Escape);
    EXPECT_EQ(korvis.Wait(20), 0);
}

TEST_F(KorvisDisplay, SavedOverworldLoadsBack) {
    Process korvis(Program(), Args(11), folder);
    WaitForOverworld(korvis);
    Screenshot first = Shot();
    const std::string file = folder + "/map/1.overworld";
    Tap(XK_F6);
    ASSERT_TRUE(WaitFor([&] { return ReadFile(file).size() == 65536; }, 10));
    const std::string saved = ReadFile(file);
    // A different overworld in the file: all water, which the load brings on screen.
    std::set<std::uint32_t> water = PictureColours(BinaryDir() + "/bmp_land", "water.bmp");
    Pause(1.5);  // the save's own pause
    WriteFile(file, std::string(65536, char(14)));
    Tap(XK_F7);
    EXPECT_TRUE(WaitFor([&] { return Share(Shot(), water) > 0.5; }, 10));
    // The saved one again: the first screen's map exactly.
    Pause(1.5);
    WriteFile(file, saved);
    Tap(XK_F7);
    EXPECT_TRUE(WaitFor([&] { return SameMap(Shot(), first); }, 10));
    Tap(XK_Escape);
    EXPECT_EQ(korvis.Wait(20), 0);
}

TEST_F(KorvisDisplay, KeysTypedIntoAnotherWindowLeaveTheGameAlone) {
    Process korvis(Program(), Args(7), folder, folder + "/log.txt");
    WaitForOverworld(korvis);
    ASSERT_TRUE(WaitFor([&] { return FocusedWindow(x) == window.window; }, 10));
    // Another program's window takes the focus.
    Window other = XCreateSimpleWindow(x, DefaultRootWindow(x), 700, 500, 200, 100, 0, 0, 0);
    XMapRaised(x, other);
    XSync(x, False);
    ASSERT_TRUE(WaitFor(
        [&] {
            XSetInputFocus(x, other, RevertToParent, CurrentTime);
            XSync(x, False);
            return FocusedWindow(x) == other;
        },
        10));
    Pause(0.3);
    Tap(XK_F6);
    Tap(XK_Escape);
    Pause(1.5);
    EXPECT_TRUE(korvis.Running());
    EXPECT_FALSE(std::filesystem::exists(folder + "/map/1.overworld"));
    // Back in the game's window, Escape ends it.
    XSetInputFocus(x, window.window, RevertToParent, CurrentTime);
    XSync(x, False);
    ASSERT_TRUE(WaitFor([&] { return FocusedWindow(x) == window.window; }, 10));
    Pause(0.3);
    Tap(XK_Escape);
    EXPECT_EQ(korvis.Wait(20), 0) << ReadFile(folder + "/log.txt");
    XDestroyWindow(x, other);
}

TEST_F(KorvisDisplay, SameSeedSameFirstScreenOtherSeedAnother) {
    auto firstScreen = [&](unsigned seed) {
        Process korvis(Program(), Args(seed), folder);
        WaitForOverworld(korvis);
        Pause(0.5);
        Screenshot shot = Shot();
        SendCloseRequest(x, window.window);
        EXPECT_EQ(korvis.Wait(20), 0);
        return shot;
    };
    Screenshot a = firstScreen(5), b = firstScreen(5), c = firstScreen(6);
    EXPECT_TRUE(SameMap(a, b));
    EXPECT_FALSE(SameMap(a, c));
}

}  // namespace
