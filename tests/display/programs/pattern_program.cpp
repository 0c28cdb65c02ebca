// The real program with a known pattern in its frame instead of a view: lets the
// display tests check where the frame's pixels land on the screen.
#include "quentaro.h"

int main() {
    if (!ConnectDisplay()) return 1;
    StartUp();
    InstallInputHooks();
    AppState.listViewOn = AppState.fullViewOn = AppState.thumbnailRedraw = 0;
    Loader.overlayOn = 0;
    PutSavedPixel(0, 0, 255, 0, 0);
    PutSavedPixel(1, 0, 0, 255, 0);
    PutSavedPixel(0, 1, 0, 0, 255);
    for (int y = 50; y < 60; ++y)
        for (int x = 100; x < 110; ++x) PutSavedPixel(x, y, 255, 255, 255);
    int w = AppState.frameWidth, h = AppState.frameHeight;
    PutSavedPixel(w - 1, h - 1, 255, 255, 0);
    while (AppState.quitRequested == 0) RunPass();
    ShutDown();
    return 0;
}
