// Bounds-tested writes into the Framebuffer, the SavedFrame and the PickBuffer.
#include "draw/pixels.h"

#include <cstdint>

#include "shell/app_state.h"
#include "shell/frame_buffers.h"

namespace {

inline bool Inside(int x, int y) {
    return x >= 0 && y >= 0 && x < AppState.frameWidth && y < AppState.frameHeight;
}

inline void Store(std::uint8_t* buffer, int x, int y, int r, int g, int b) {
    std::uint8_t* pixel = buffer + 4 * (std::size_t(y) * std::size_t(AppState.frameWidth) + x);
    pixel[0] = std::uint8_t(r);
    pixel[1] = std::uint8_t(g);
    pixel[2] = std::uint8_t(b);
    pixel[3] = 255;
}

}  // namespace

void PutPixel(int x, int y, int r, int g, int b) {
    if (Inside(x, y)) Store(Framebuffer, x, y, r, g, b);
}

void PutSavedPixel(int x, int y, int r, int g, int b) {
    if (Inside(x, y)) Store(SavedFrame, x, y, r, g, b);
}

void PutPickId(int x, int y, int id) {
    if (Inside(x, y)) PickBuffer[std::size_t(y) * std::size_t(AppState.frameWidth) + x] = id;
}
