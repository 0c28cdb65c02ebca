// The engine's view and window keys on the real backend: each frame fills the frame with
// green and a red 16 x 16 block at its origin corner, runs the window keys and the free view
// keys, presents, and appends "scale S view X,Y,L" to "view.txt" whenever that changes.
// A close request ends it.
#include <cstdio>
#include <cstring>
#include <string>

#include "quentaro.h"

int main() {
    if (!ConnectDisplay()) return 1;
    StartUp();
    std::FILE* report = std::fopen("view.txt", "w");
    if (report == nullptr) return 2;
    std::string last;
    while (AppState.quitRequested == 0) {
        const int w = AppState.frameWidth, h = AppState.frameHeight;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                bool corner = x < 16 && y < 16;
                PutPixel(x, y, corner ? 255 : 0, corner ? 0 : 255, 0);
            }
        HandleWindowKeys();
        ScrollView(2);
        PresentFrame();
        char state[200];
        std::snprintf(state, sizeof state, "scale %d view %d,%d,%d", AppState.pixelScale, ViewX,
                      ViewY, ViewLevel);
        if (last != state) {
            last = state;
            std::fprintf(report, "%s\n", state);
            std::fflush(report);
        }
        DrainMessages();
        ++AppState.passCount;
        platform::Sys().Pause(30);
    }
    std::fclose(report);
    ShutDown();
    return 0;
}
