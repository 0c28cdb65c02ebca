// The 3D scene on a real X server with the system's OpenGL: a wall cube below the walker
// appears in the composited frame and on screen, the edge overlay outlines it, a cube around
// the eye fills the view, and an empty grid or a frame of another size composites nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "display/harness.h"

using namespace harness;

namespace {

// The value of `key` in the report's line starting with `line`, or -1.
int Value(const std::string& report, const std::string& line, const std::string& key) {
    std::istringstream lines(report);
    std::string l;
    while (std::getline(lines, l)) {
        if (l.rfind(line + " ", 0) != 0) continue;
        std::istringstream words(l);
        std::string w;
        while (words >> w)
            if (w == key && words >> w) return std::atoi(w.c_str());
    }
    return -1;
}

void SavePpm(const Screenshot& shot, const std::string& path) {
    std::string bytes =
        "P6 " + std::to_string(shot.width) + " " + std::to_string(shot.height) + " 255\n";
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            std::uint32_t p = shot.at(x, y);
            bytes += char(p >> 16), bytes += char(p >> 8 & 255), bytes += char(p & 255);
        }
    WriteFile(path, bytes);
}

TEST(SceneDisplay, WallCubeIsCompositedAndShown) {
    XServer server{1024, 768};
    Display* x = server.display();
    std::string folder = MakeTempFolder();
    Process probe(BinaryDir() + "/tests/quentaro_scene_probe", {}, folder, folder + "/log.txt");
    ASSERT_TRUE(WaitFor(
        [&] { return ReadFile(folder + "/scene.txt").find("ready") != std::string::npos; }, 60))
        << ReadFile(folder + "/log.txt");
    std::string report = ReadFile(folder + "/scene.txt");

    // A cube face two and a half cells away fills about a quarter of the frame's height.
    const int cube = Value(report, "scene", "cube");
    EXPECT_GT(cube, 2000) << report;
    EXPECT_LT(cube, 320 * 240 / 2) << report;
    EXPECT_EQ(Value(report, "scene", "other"), 0) << report;        // the clear colour never lands
    EXPECT_NE(report.find(",220\n"), std::string::npos) << report;  // the cube at the centre
    EXPECT_GT(Value(report, "edges", "white"), 40) << report;
    EXPECT_GT(Value(report, "occlusion", "seen"), 0) << report;
    EXPECT_EQ(Value(report, "occlusion", "nan"), 1) << report;
    EXPECT_EQ(Value(report, "occlusion", "inf"), 1) << report;

    std::vector<FoundWindow> windows = FindWindows(x, "SCENE");
    ASSERT_EQ(windows.size(), 1u);
    const FoundWindow& w = windows.front();
    Screenshot shot;
    WaitFor(
        [&] {
            shot = Grab(x, w.x, w.y, w.width, w.height);
            return (shot.at(w.width / 2, w.height / 2) & 0xFF) == 220;
        },
        20);
    SavePpm(shot, BinaryDir() + "/scene_display.ppm");           // to look at after a failure
    EXPECT_EQ(shot.at(w.width / 2, w.height / 2) & 0xFF, 220u);  // the cube, mid-window
    EXPECT_EQ(shot.at(2, 2), 0x0A0A0Au);                         // the grey frame in a corner

    WriteFile(folder + "/done", "");
    EXPECT_EQ(probe.Wait(60), 0);
    report = ReadFile(folder + "/scene.txt");
    // The cubes drawn in one batch look as drawn one by one, but for a byte here and there
    // where a corner placed by the matrix rounds differently (faces culled the wrong way
    // differ in over a hundred thousand).
    EXPECT_EQ(Value(report, "dungeon", "drawn"), 1) << report;
    EXPECT_GE(Value(report, "dungeon", "differ"), 0) << report;
    EXPECT_LT(Value(report, "dungeon", "differ"), 300) << report;
    EXPECT_EQ(Value(report, "empty", "cube"), 0) << report;
    EXPECT_EQ(Value(report, "empty", "grey"), 320 * 240) << report;
    EXPECT_EQ(Value(report, "inside", "cube"), 320 * 240) << report;  // no face culled
    // A sample behind the eye or before the near plane is judged by its depth like any other.
    EXPECT_EQ(Value(report, "inside", "behind"), 0) << report;
    EXPECT_EQ(Value(report, "inside", "close"), 0) << report;
    EXPECT_EQ(Value(report, "inside", "far"), 1) << report;
    EXPECT_EQ(Value(report, "small", "cube"), 0) << report;
    EXPECT_EQ(Value(report, "small", "grey"), 160 * 120) << report;
    EXPECT_EQ(Value(report, "small", "guards"), 1) << report;
    RemoveFolder(folder);
}

}  // namespace
