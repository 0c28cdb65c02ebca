// The noise backdrop: blue noise and four random circle outlines composed in the SavedFrame
// every 50 main-loop passes, shown by copying the SavedFrame to the Framebuffer each call.
// An engine screen calls it once per pass; it keeps no state beyond the SavedFrame.
#include "world/noise_backdrop.h"

#include "draw/lines.h"
#include "draw/pixels.h"
#include "shell/app_state.h"
#include "shell/frame_buffers.h"
#include "shell/random.h"

namespace {

constexpr int REGENERATION_PASSES = 50;
constexpr int CIRCLES = 4;

void ComposeBackdrop(int width, int height) {
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column) {
            std::uint8_t* pixel = SavedFrame + 4 * (std::size_t(row) * width + column);
            pixel[0] = 0;
            pixel[1] = 0;
            pixel[2] = std::uint8_t(Random() % 255);
            pixel[3] = 255;
        }
    for (int i = 0; i < CIRCLES; ++i) {
        int blue = Random() % 255;
        int green = Random() % 255;
        int red = Random() % 255;
        int centreRow = Random() % height;
        int centreColumn = Random() % width;
        DrawSavedCircleTable(centreColumn, centreRow, width / 5, red, green, blue);
    }
}

}  // namespace

void DrawNoiseBackdrop() {
    int width = AppState.frameWidth, height = AppState.frameHeight;
    if (width <= 0 || height <= 0 || SavedFrame == nullptr || Framebuffer == nullptr) return;
    if (AppState.passCount % REGENERATION_PASSES == 0) ComposeBackdrop(width, height);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column) {
            const std::uint8_t* pixel = SavedFrame + 4 * (std::size_t(row) * width + column);
            PutPixel(column, row, pixel[0], pixel[1], pixel[2]);
        }
}
