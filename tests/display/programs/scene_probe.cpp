// The 3D scene on the real backend: a 320 x 240 window, a wall cube three levels below the
// walker (the camera at pitch 0 looks down the levels), one scene frame composited into a
// grey frame and the edge overlay drawn over it. Reports what the frame holds in
// "scene.txt", then shows the frame until a file "done" appears. Then compares a random
// dungeon drawn in one batch with the same drawn cell by cell, runs the first frame once more
// without the cube, tests occlusion at the eye's near and far limits, looks out from inside a
// wall cube, and runs a frame of another size before it ends.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "quentaro.h"

// Last: on Windows the GL header brings the system's macros along.
#include <GL/gl.h>

namespace {

constexpr int CUBE_B = 220, GREY = 10;

bool FileExists(const char* name) {
    std::FILE* f = std::fopen(name, "r");
    if (f) std::fclose(f);
    return f != nullptr;
}

void CubePicture() {
    ImageSlot& s = ImageSlots[1201];
    s.width = s.height = 8, s.channels = 3;
    s.pixels = static_cast<std::uint8_t*>(std::malloc(8 * 8 * 3));
    // Every texel its own red and green, so that faces drawn differently show; blue marks
    // the cube.
    for (int i = 0; i < 64; ++i) {
        s.pixels[3 * i] = std::uint8_t(i % 8 * 30 + 10),
                     s.pixels[3 * i + 1] = std::uint8_t(i / 8 * 30 + 10);
        s.pixels[3 * i + 2] = CUBE_B;
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
        if (p[2] == CUBE_B && p[0] != 255)
            ++c.cube;
        else if (p[0] == 255 && p[1] == 255 && p[2] == 255)
            ++c.white;
        else if (p[0] == GREY && p[1] == GREY && p[2] == GREY)
            ++c.grey;
        else
            ++c.other;
    }
    return c;
}

// The cubes as one cell after another, each in a matrix of its own, with nothing culled:
// the plain way that the batched drawing must match.
void DrawSceneCellByCell() {
    const UnitRecord& u = UnitTable[SelectedUnit];
    const int R = SceneRadius;
    glPushMatrix();
    ApplySceneCamera(u);
    for (int L = u.level - R; L < u.level + R; ++L)
        for (int Y = u.y - R; Y < u.y + R; ++Y)
            for (int X = u.x - R; X < u.x + R; ++X) {
                glPushMatrix();
                glTranslatef(float(X - u.x), float(u.y - Y), float(L - u.level));
                glPushMatrix();
                DrawBlockCell(X, Y, L);
                glPopMatrix();
                glPopMatrix();
            }
    glPopMatrix();
}

// Pixels that differ between the batched scene and the cell-by-cell one over a random
// dungeon seen at a slant.
void CompareWithCellByCell(int& differ, int& drawn) {
    SeedRandom(3);
    for (int l = 1; l < 20; ++l)
        for (int y = 40; y < 60; ++y)
            for (int x = 40; x < 60; ++x)
                if (!(x == 50 && y == 50 && l == 10))
                    MapGrid[CellIndex(x, y, l)] = RandomBelow(4) == 0 ? CELL_WALL : CELL_EMPTY;
    CameraPitch = -60, CameraYaw = 35;
    FillFramebuffer(GREY, GREY, GREY);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawScene();
    CompositeSceneIntoFramebuffer();
    std::vector<std::uint8_t> batched(Framebuffer, Framebuffer + 320 * 240 * 4);
    FillFramebuffer(GREY, GREY, GREY);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawSceneCellByCell();
    CompositeSceneIntoFramebuffer();
    differ = 0;
    for (int i = 0; i < 320 * 240 * 4; ++i) differ += batched[i] != Framebuffer[i];
    drawn = CountFrame().cube > 0;
    std::memset(MapGrid, 0, std::size_t(LEVEL_COUNT) * MAP_WIDTH * MAP_WIDTH);
    CameraPitch = CameraYaw = 0;
}

void Frame() {
    FillFramebuffer(GREY, GREY, GREY);
    RunSceneFrame();
}

// IsPointOccluded of the point `ahead` along the view from the eye, with nothing drawn: its
// first sample lies behind the eye, or before the near plane, where `ahead` puts it.
int OccludedAhead(float ahead) {
    glLoadIdentity();
    glPushMatrix();
    ApplySceneCamera(UnitTable[1]);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    float p[3];
    for (int i = 0; i < 3; ++i)  // eye - R^T t, then `ahead` along -(R's third row)
        p[i] = -(m[4 * i] * m[12] + m[4 * i + 1] * m[13] + m[4 * i + 2] * m[14]) -
               ahead * m[4 * i + 2];
    int occluded = IsPointOccluded(p[0], p[1], p[2]);
    glPopMatrix();
    return occluded;
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
    std::fprintf(report, "scene cube %d grey %d other %d centre %d,%d,%d\n", scene.cube, scene.grey,
                 scene.other, centre[0], centre[1], centre[2]);
    // The edge overlay of the walker's own position: the cube's outline.
    DrawGridEdges();
    Counts edges = CountFrame();
    std::fprintf(report, "edges white %d cube %d\n", edges.white, edges.cube);
    // Occlusion against the depth just read back: some points of the space around the walker
    // are seen, while a point whose projection is not a number never is.
    int seen = 0;
    for (int x = -6; x <= 6; ++x)
        for (int y = -6; y <= 6; ++y)
            for (int z = -6; z <= 6; ++z)
                seen += IsPointOccluded(x * 0.5f, y * 0.5f, z * 0.5f) == 0;
    const float nan = std::nanf(""), inf = HUGE_VALF;
    std::fprintf(report, "occlusion seen %d nan %d inf %d\n", seen, IsPointOccluded(nan, 0, 0),
                 IsPointOccluded(0, inf, -inf));
    std::fprintf(report, "ready\n");
    std::fflush(report);
    for (int i = 0; i < 1000 && !FileExists("done") && AppState.quitRequested == 0; ++i) {
        PresentFrame();
        while (PumpMessages()) {
        }
        platform::Sys().Pause(20);
    }
    int differ = 0, drawn = 0;
    CompareWithCellByCell(differ, drawn);
    std::fprintf(report, "dungeon differ %d drawn %d\n", differ, drawn);

    MapGrid[CellIndex(50, 50, 13)] = CELL_EMPTY;
    Frame();
    Counts empty = CountFrame();
    std::fprintf(report, "empty cube %d grey %d\n", empty.cube, empty.grey);
    // Looking along grid -x, +y, whose samples (x + s, y + s, z) and (x - s, y - s, z) lie on
    // the axis of view: the first behind the eye, the second in front and seen.
    CameraPitch = -90, CameraYaw = 225;
    Frame();
    const int behind = OccludedAhead(0.04f);
    CameraYaw = 45;  // the other way: the first sample before the near plane
    const int close = OccludedAhead(0.005f);
    const int far = OccludedAhead(101.0f);  // just beyond the far plane, within the tolerance
    CameraPitch = CameraYaw = 0;
    // Inside a lone wall cube, its faces all turn away from the eye and fill the view.
    MapGrid[CellIndex(50, 50, 10)] = CELL_WALL;
    Frame();
    walker.sceneX = walker.sceneY = walker.sceneZ = 0.5f;
    MapGrid[CellIndex(50, 50, 10)] = CELL_EMPTY;
    std::fprintf(report, "inside cube %d behind %d close %d far %d\n", CountFrame().cube, behind,
                 close, far);
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
