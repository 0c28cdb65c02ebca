// Frame work of one pass: building the trig tables, and one pass at 960 x 540, scale 2
// (clear, copy of the saved frame, presentation) on the real backend. Needs an X server
// (DISPLAY); run under `xvfb-run -s "-screen 0 1920x1080x24"` where there is none.
#include <benchmark/benchmark.h>

#include <cstring>

#include "quentaro.h"

namespace {

void BM_BuildTrigTables(benchmark::State& state) {
    for (auto _ : state) {
        ReleaseTrigTables();
        BuildTrigTables();
        benchmark::DoNotOptimize(SinTable);
    }
}
BENCHMARK(BM_BuildTrigTables)->Unit(benchmark::kMillisecond);

bool OpenWindowOnce() {
    static int opened = -1;
    if (opened < 0) {
        opened = ConnectDisplay();
        if (opened) {
            AppState.pixelScale = 2;
            ResizeFrame(960, 540);
            opened = OpenMainWindow();
        }
    }
    return opened == 1;
}

void BM_ClearCopyPresent(benchmark::State& state) {
    if (!OpenWindowOnce()) {
        state.SkipWithError("no display");
        return;
    }
    const std::size_t bytes = 960u * 540u * 4u;
    for (auto _ : state) {
        ClearFrame();
        std::memcpy(Framebuffer, SavedFrame, bytes);
        PresentFrame();
    }
}
BENCHMARK(BM_ClearCopyPresent)->Unit(benchmark::kMillisecond);

void BM_PresentOnly(benchmark::State& state) {
    if (!OpenWindowOnce()) {
        state.SkipWithError("no display");
        return;
    }
    for (auto _ : state) PresentFrame();
}
BENCHMARK(BM_PresentOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
