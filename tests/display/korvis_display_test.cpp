// The engine's host program on a real X server, driven with XTEST like a player: the first
// overworld in the default picture set's colours, a console teleport into a dungeon, the
// first-person scene, a strategic turn played with the left button, a saved overworld loaded
// back, Escape, and the same seed drawing the same first screen.
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "display/harness.h"

using namespace harness;

namespace {

constexpr int WIDTH = 640, HEIGHT = 480;  // 320 x 240 at pixel scale 2
// The map between the title strip (14 frame rows) and the help band (24 rows).
constexpr int MAP_TOP = 28 + 4, MAP_BOTTOM = HEIGHT - 48 - 4;

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
            ASSERT_EQ(symlink((BinaryDir() + "/" + name).c_str(), (folder + "/" + name).c_str()), 0);
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

    // The engine polls keys once a pass and pauses after each character it takes: a short
    // hold is seen once.
    void Tap(unsigned long keysym) {
        PressKey(x, keysym);
        Pause(0.08);
        ReleaseKey(x, keysym);
        Pause(0.3);
    }
    void Command(const std::string& text) {
        Tap(XK_Tab);
        Pause(0.3);
        for (char c : text) Tap(c == ' ' ? XK_space : (unsigned long)c);
        Tap(XK_Return);
        Pause(0.7);
        Tap(XK_Tab);
        Pause(0.5);
    }
    std::vector<std::string> Args(unsigned seed) { return {"--seed", std::to_string(seed)}; }
    std::string Program() { return BinaryDir() + "/korvis"; }
};

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
    // And back to the tile map.
    Tap(XK_F5);
    EXPECT_TRUE(WaitFor([&] { return SameMap(Shot(), level); }, 10));
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
    // A town site ten cells left of the player's capital, which the first view centres.
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
