// Camera photographs in the real program: a picture stored in each of the eight EXIF
// orientations stands upright on the thumbnail page and in the full view.
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "display/harness.h"
#include "platform/platform.h"

using namespace harness;

namespace {

// Frame 960 x 540 at pixel scale 2 from the screen's top-left corner; frame rows count from
// the bottom.
int ScreenX(int frameX) {
    return 2 * frameX + 1;
}
int ScreenY(int frameY) {
    return 2 * (539 - frameY) + 1;
}

constexpr std::uint32_t RED = 0xFF0000, GREEN = 0x00FF00, BLUE = 0x0000FF, WHITE = 0xFFFFFF;

// Stored quadrants as a camera writes them: top-left red, top-right green, bottom-left blue,
// bottom-right white. Once upright, red and green stand at these corners (0 top-left,
// clockwise) for orientations 1 to 8.
const int RED_CORNER[9] = {0, 0, 1, 2, 3, 0, 1, 2, 3};
const int GREEN_CORNER[9] = {0, 1, 0, 3, 2, 3, 2, 1, 0};

void WritePhoto(const std::string& path, int width, int height, int orientation) {
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
    ASSERT_TRUE(platform::WriteJpegFile(path.c_str(), p, 95, orientation));
}

bool Near(std::uint32_t got, std::uint32_t want) {
    for (int shift : {0, 8, 16})
        if (std::abs(int((got >> shift) & 255) - int((want >> shift) & 255)) > 40) return false;
    return true;
}

// The screen colour at the middle of corner `corner` of a w x h frame area from (x0, y0).
std::uint32_t CornerColour(const Screenshot& shot, int x0, int y0, int w, int h, int corner) {
    int x = x0 + (corner == 0 || corner == 3 ? w / 4 : w * 3 / 4);
    int y = y0 + (corner == 0 || corner == 1 ? h * 3 / 4 : h / 4);
    return shot.at(ScreenX(x), ScreenY(y));
}

TEST(PhotoDisplay, EveryOrientationStandsUprightInItsCellAndInTheFullView) {
    XServer server{1920, 1080};
    std::string folder = MakeTempFolder();
    // 280 x 140 once upright; entries ".", "..", o1 ... o8 fill cells 0 to 9.
    for (int o = 1; o <= 8; ++o) {
        bool turned = o >= 5;
        WritePhoto(folder + "/o" + std::to_string(o) + ".jpg", turned ? 140 : 280,
                   turned ? 280 : 140, o);
    }
    Process program(ProgramPath(), {}, folder, folder + "/../photo-display-log.txt");
    Screenshot shot;
    ASSERT_TRUE(WaitFor(
        [&] {
            shot = Grab(server.display(), 0, 0, 1920, 1080);
            return FindColour(shot, 0xFF0000, 0, 0, 400, 100).count > 0;  // the selected entry
        },
        30));
    MovePointer(server.display(), 1900, 1060);  // the cursor cross away from the cells
    TapKey(server.display(), XK_t);
    auto cellOrigin = [](int cell) {
        return std::pair{140 * (cell % 6) + 10, 540 - 140 * (cell / 6) - 140 - 31};
    };
    auto pageShown = [&] {
        shot = Grab(server.display(), 0, 0, 1920, 1080);
        for (int o = 1; o <= 8; ++o) {
            auto [x0, y0] = cellOrigin(o + 1);
            if (!Near(CornerColour(shot, x0, y0, 140, 70, RED_CORNER[o]), RED) ||
                !Near(CornerColour(shot, x0, y0, 140, 70, GREEN_CORNER[o]), GREEN))
                return false;
        }
        return true;
    };
    bool upright = WaitFor(pageShown, 30);
    SavePng(shot, folder + "/../quentaro-photo-page.png");
    ASSERT_TRUE(upright) << "a thumbnail is not upright (see quentaro-photo-page.png)";

    // Orientation 6, the usual portrait photo: a press opens it; 7 centres it on the cursor
    // and 2 shows it at its own size, 280 x 140 frame pixels around the cursor.
    auto [x0, y0] = cellOrigin(7);
    int cx = x0 + 40, cy = y0 + 20;
    MovePointer(server.display(), ScreenX(cx), ScreenY(cy));
    RightClick(server.display());
    usleep(800 * 1000);  // the program's pause after a thumbnail press
    TapKey(server.display(), XK_7);
    TapKey(server.display(), XK_2);
    bool full = WaitFor(
        [&] {
            shot = Grab(server.display(), 0, 0, 1920, 1080);
            return Near(CornerColour(shot, cx - 140, cy - 70, 280, 140, RED_CORNER[6]), RED) &&
                   Near(CornerColour(shot, cx - 140, cy - 70, 280, 140, GREEN_CORNER[6]), GREEN) &&
                   Near(CornerColour(shot, cx - 140, cy - 70, 280, 140, 3), WHITE);
        },
        20);
    SavePng(shot, folder + "/../quentaro-photo-full.png");
    EXPECT_TRUE(full) << "the full view is not upright (see quentaro-photo-full.png)";
    TapKey(server.display(), XK_Escape);
    EXPECT_EQ(program.Wait(20), 0);
    RemoveFolder(folder);
}

// F in the full view: a large picture shrunk and a small one doubled, each whole in the
// middle of the screen whatever the pointer does, until a zoom key hands it back.
TEST(PhotoDisplay, FFitsALargeAndASmallPictureIntoTheScreen) {
    XServer server{1920, 1080};
    Display* x = server.display();
    std::string folder = MakeTempFolder();
    constexpr std::uint32_t LARGE = 0x2060A0, SMALL = 0xC04020;
    WriteBmp(folder + "/a_large.bmp", 6000, 4000, LARGE);  // cell 2, after "." and ".."
    WriteBmp(folder + "/b_small.bmp", 100, 50, SMALL);     // cell 3
    Process program(ProgramPath(), {}, folder, folder + "/../fit-display-log.txt");
    ASSERT_TRUE(WaitFor(
        [&] { return FindColour(Grab(x, 0, 0, 400, 100), RED, 0, 0, 400, 100).count > 0; }, 30));
    MovePointer(x, 1900, 1060);
    TapKey(x, XK_t);
    ColourArea area;
    auto areaIs = [&](std::uint32_t colour, int left, int top, int right, int bottom) {
        return WaitFor(
            [&] {
                area = FindColour(Grab(x, 0, 0, 1920, 1080), colour, 0, 0, 1920, 1080);
                return area.left == left && area.top == top && area.right == right &&
                       area.bottom == bottom;
            },
            20);
    };
    ASSERT_TRUE(WaitFor(
        [&] { return FindColour(Grab(x, 0, 0, 1920, 1080), SMALL, 0, 0, 1920, 1080).count; }, 30));
    auto open = [&](int cellX) {
        MovePointer(x, ScreenX(cellX + 20), ScreenY(369 + 20));
        RightClick(x);
        usleep(800 * 1000);  // the program's pause after a thumbnail press
    };
    // 6000 x 4000 into 960 x 540 frame pixels: 810 x 540 from frame x 75, screen x 150.
    open(290);
    TapKey(x, XK_f);
    EXPECT_TRUE(areaIs(LARGE, 150, 0, 1769, 1079)) << area.left << " " << area.right;
    MovePointer(x, 300, 900);
    usleep(300 * 1000);
    EXPECT_TRUE(areaIs(LARGE, 150, 0, 1769, 1079)) << area.left << " " << area.right;
    // Back to the page; the next picture opens fitted too: 200 x 100 from frame (380, 220).
    RightClick(x);
    usleep(800 * 1000);
    open(430);
    EXPECT_TRUE(areaIs(SMALL, 760, 440, 1159, 639)) << area.left << " " << area.top;
    // A zoom key: at its own size (2) the picture follows the pointer again, three times as
    // fast (x0 = 3 x 400 - 960 - 50, y0 = 3 x 250 - 540 - 25).
    MovePointer(x, ScreenX(400), ScreenY(250));
    TapKey(x, XK_2);
    EXPECT_TRUE(areaIs(SMALL, 380, 610, 579, 709)) << area.left << " " << area.top;
    TapKey(x, XK_Escape);
    EXPECT_EQ(program.Wait(20), 0);
    RemoveFolder(folder);
}

}  // namespace
