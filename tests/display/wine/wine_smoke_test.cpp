// The Windows build of the program under wine, on its own X server: its window opens at the
// screen's corner with the overlay on it, a BMP and a camera JPEG of the start folder show
// upright on the thumbnail page (decoded by the system's picture service), and Escape ends it
// with status 0. Wine reports status 0 even for a program that never ran, so the screen is
// the evidence. The program, wine and its prefix come from the environment (see
// scripts/windows_test.sh).
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "display/harness.h"
#include "platform/platform.h"

using namespace harness;

namespace {

std::string Environment(const char* name, const char* otherwise) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : otherwise;
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

    std::string program = Environment("QUENTARO_WINDOWS_PROGRAM", "");
    ASSERT_FALSE(program.empty()) << "QUENTARO_WINDOWS_PROGRAM names no program";
    Process wine(Environment("QUENTARO_WINE", "/usr/bin/wine"), {program}, folder, log);

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
               Near(CellColour(shot, 3, 35, 17), WHITE) && Near(CellColour(shot, 3, 105, 17), GREEN);
    };
    bool shown = WaitFor(pageShown, 60);
    SavePng(shot, folder + "/../wine-smoke-page.png");
    ASSERT_TRUE(shown) << "the thumbnails are not shown (see wine-smoke-page.png)\n"
                       << ReadFile(log);

    TapKey(x, XK_Escape);
    EXPECT_EQ(wine.Wait(60), 0) << ReadFile(log);
    EXPECT_TRUE(WaitFor([&] { return FindWindows(x, "GAME").empty(); }, 10));
    RemoveFolder(folder);
}

}  // namespace
