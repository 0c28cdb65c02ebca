// The 3D scene on the real backend: a 320 x 240 window, a wall cube three levels below the
// walker (the camera at pitch 0 looks down the levels), one scene frame composited into a
// grey frame and the edge overlay drawn over it. Reports what the frame holds in
// "scene.txt", then shows the frame until a file "done" appears, and runs the same frame
// once more without the cube and at a frame of another size before it ends.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "quentaro.h"

namespace {

constexpr int CUBE_R = 40, CUBE_G = 160, CUBE_B = 220, GREY = 10;

bool FileExists(const char* name) {
    std::FILE* f = std::fopen(name, "r");
    if (f) std::fclose(f);
    return f != nullptr;
}

void CubePicture() {
    ImageSlot& s = ImageSlots[1201];
    s.width = s.height = 8, s.channels = 3;
    s.pixels = static_cast<std::uint8_t*>(std::malloc(8 * 8 * 3));
    for (int i = 0; i < 64; ++i) {
        s.pixels[3 * i] = CUBE_R, s.pixels[3 * i + 1] = CUBE_G, s.pixels[3 * i + 2] = CUBE_B;
    }
}

struct Counts {
    int cube = 0, white = 0, grey = 0, other = 0;
};

Counts CountFrame() {
    Counts c;
    std::size_t n = std::size_t(AppState.frameWidth) * AppState.frameHeight;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* p = Framebuffer + 4 * i;
        if (p[0] == CUBE_R && p[1] == CUBE_G && p[2] == CUBE_B) ++c.cube;
        else if (p[0] == 255 && p[1] == 255 && p[2] == 255) ++c.white;
        else if (p[0] == GREY && p[1] == GREY && p[2] == GREY) ++c.grey;
        else ++c.other;
    }
    return c;
}

void Frame() {
    FillFramebuffer(GREY, GREY, GREY);
    RunSceneFrame();
}

}  // namespace

int main() {
    if (!ConnectDisplay()) return 1;
    AppState.pixelScale = 1;
    ResizeFrame(320, 240);
    CreateGrids();
    CreateUnitTable();
    CreateImageSlots();
    CubePicture();
    AllocateSceneDepthBuffer();
    if (!OpenGlWindow("SCENE", 320, 240, 16, false)) return 2;
    std::FILE* report = std::fopen("scene.txt", "w");
    if (report == nullptr) return 3;

    UnitRecord& walker = UnitTable[1];
    walker.inUse = 1;
    walker.x = walker.y = 50, walker.level = 10;
    walker.sceneX = walker.sceneY = walker.sceneZ = 0.5f;
    ViewX = ViewY = 50, ViewLevel = 10;
    MapGrid[CellIndex(50, 50, 13)] = CELL_WALL;
    SceneRadius = 12;

    Frame();
    Counts scene = CountFrame();
    const std::uint8_t* centre = Framebuffer + 4 * (120 * 320 + 160);
    std::fprintf(report, "scene cube %d grey %d other %d centre %d,%d,%d\n", scene.cube,
                 scene.grey, scene.other, centre[0], centre[1], centre[2]);
    // The edge overlay of the walker's own position: the cube's outline.
    DrawGridEdges();
    Counts edges = CountFrame();
    std::fprintf(report, "edges white %d cube %d\n", edges.white, edges.cube);
    std::fprintf(report, "ready\n");
    std::fflush(report);
    for (int i = 0; i < 1000 && !FileExists("done") && AppState.quitRequested == 0; ++i) {
        PresentFrame();
        while (PumpMessages()) {
        }
        platform::Sys().Pause(20);
    }

    MapGrid[CellIndex(50, 50, 13)] = CELL_EMPTY;
    Frame();
    Counts empty = CountFrame();
    std::fprintf(report, "empty cube %d grey %d\n", empty.cube, empty.grey);
    MapGrid[CellIndex(50, 50, 13)] = CELL_WALL;
    ResizeFrame(160, 120);  // smaller than what is read back
    Frame();
    Counts small = CountFrame();
    std::fprintf(report, "small cube %d grey %d guards %d\n", small.cube, small.grey,
                 FrameGuardsIntact());
    std::fclose(report);
    CloseGlWindow();
    return 0;
}
