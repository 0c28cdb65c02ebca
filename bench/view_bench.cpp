// The engine's two views, one pass each: the tile map of a full 960 x 540 frame (every
// cell a picture, 300 units with bars and captions) and one 3D scene frame at radius 12
// over a dungeon of scattered walls, drawn with the system's OpenGL and composited into a
// 320 x 240 frame. Needs an X server (DISPLAY); run under
// `xvfb-run -s "-screen 0 1920x1080x24"` where there is none.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "quentaro.h"

// Last: on Windows the GL header brings the system's macros along.
#include <GL/gl.h>

namespace {

constexpr int SPRITE = 400;

void Picture(int slot, int seed) {
    ImageSlot& s = ImageSlots[slot];
    s.width = s.height = 16, s.channels = 3;
    s.pixels = static_cast<std::uint8_t*>(std::malloc(16 * 16 * 3));
    for (int i = 0; i < 16 * 16 * 3; ++i) s.pixels[i] = std::uint8_t(i * 7 + seed * 31);
}

void SetUpWorld() {
    static bool done = false;
    if (done) return;
    done = true;
    CreateGrids();
    CreateUnitTable();
    CreateImageSlots();
    for (int slot = 0; slot < SLOT_COUNT && slot <= SPRITE; ++slot) Picture(slot, slot);
    Picture(1201, 3);
    PathFinder = CreatePathFinder();
    SeedRandom(11);
}

void BM_DrawTileMap(benchmark::State& state) {
    SetUpWorld();
    ResizeFrame(960, 540);
    const int codes[] = {10, 11, 14, 60, 61, 70, 84, 90, 180, 189};
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 70; ++x)
            MapGrid[CellIndex(100 + x, 100 + y, 4)] = std::uint8_t(codes[RandomBelow(10)]);
    for (int i = 2; i < 302; ++i) {
        UnitRecord& u = UnitTable[i];
        u.inUse = 1, u.kind = KIND_UNIT, u.level = 4, u.sprite = SPRITE;
        u.x = std::uint16_t(100 + RandomBelow(60)), u.y = std::uint16_t(100 + RandomBelow(33));
        u.maxHitPoints = 10, u.hitPoints = float(RandomBelow(11));
    }
    ViewX = ViewY = 100, ViewLevel = 4;
    SelectedUnit = 2;
    for (auto _ : state) {
        DrawTileMap();
        benchmark::DoNotOptimize(Framebuffer[0]);
    }
    for (int i = 2; i < 302; ++i) UnitTable[i].inUse = 0;
}
BENCHMARK(BM_DrawTileMap)->Unit(benchmark::kMillisecond);

bool OpenSceneWindowOnce() {
    static int opened = -1;
    if (opened < 0) {
        SetUpWorld();
        opened = ConnectDisplay();
        if (opened) {
            AppState.pixelScale = 1;
            ResizeFrame(320, 240);
            AllocateSceneDepthBuffer();
            opened = OpenGlWindow("SCENE", 320, 240, 16, false);
        }
    }
    return opened == 1;
}

// A dungeon around the walker: a third of the cells of the radius-12 box are walls, with
// ground under the walker's row.
void Dungeon() {
    for (int l = 28; l < 52; ++l)
        for (int y = 88; y < 112; ++y)
            for (int x = 88; x < 112; ++x)
                MapGrid[CellIndex(x, y, l)] = RandomBelow(3) == 0 ? CELL_WALL : CELL_EMPTY;
    for (int l = 40; l < 42; ++l)
        for (int y = 96; y < 104; ++y)
            for (int x = 96; x < 104; ++x) MapGrid[CellIndex(x, y, l)] = l == 41 ? CELL_WALL : 0;
    UnitRecord& w = UnitTable[1];
    w.inUse = 1, w.x = w.y = 100, w.level = 40;
    w.sceneX = w.sceneY = w.sceneZ = 0.5f;
    ViewX = ViewY = 100, ViewLevel = 40;
    SelectedUnit = 1;
}

void BM_RunSceneFrame(benchmark::State& state) {
    if (!OpenSceneWindowOnce()) {
        state.SkipWithError("no display");
        return;
    }
    Dungeon();
    SceneRadius = int(state.range(0));
    CameraPitch = float(state.range(1));
    CameraYaw = 30;
    for (auto _ : state) {
        RunSceneFrame();
        benchmark::DoNotOptimize(Framebuffer[0]);
    }
}
BENCHMARK(BM_RunSceneFrame)
    ->Args({12, 0})
    ->Args({12, -90})
    ->Args({14, -90})
    ->Unit(benchmark::kMillisecond);

// The frame's two halves: the cubes drawn (and finished), and the read-back with the
// composite.
void BM_DrawSceneOnly(benchmark::State& state) {
    if (!OpenSceneWindowOnce()) {
        state.SkipWithError("no display");
        return;
    }
    Dungeon();
    SceneRadius = 12, CameraPitch = -90, CameraYaw = 30;
    for (auto _ : state) {
        glLoadIdentity();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawScene();
        glFinish();
    }
}
BENCHMARK(BM_DrawSceneOnly)->Unit(benchmark::kMillisecond);

void BM_Composite(benchmark::State& state) {
    if (!OpenSceneWindowOnce()) {
        state.SkipWithError("no display");
        return;
    }
    for (auto _ : state) CompositeSceneIntoFramebuffer();
}
BENCHMARK(BM_Composite)->Unit(benchmark::kMillisecond);

void BM_DrawGridEdges(benchmark::State& state) {
    if (!OpenSceneWindowOnce()) {
        state.SkipWithError("no display");
        return;
    }
    Dungeon();
    SceneRadius = 12, CameraPitch = -90, CameraYaw = 30;
    RunSceneFrame();
    for (auto _ : state) DrawGridEdges();
}
BENCHMARK(BM_DrawGridEdges)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
