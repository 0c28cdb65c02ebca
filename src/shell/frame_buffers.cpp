// The five frame-sized buffers, reallocated whenever the frame changes size.
#include "shell/frame_buffers.h"

#include <cstdio>
#include <cstdlib>

#include "shell/app_state.h"

std::uint8_t* Framebuffer = nullptr;
std::uint8_t* SavedFrame = nullptr;
std::int32_t* PickBuffer = nullptr;
std::uint8_t* SpareFrames[2] = {nullptr, nullptr};

namespace {

void* AllocateOrDie(long long bytes) {
    // Zeroed, so a frame shown before anything is drawn is black rather than garbage.
    void* block = bytes > 0 ? std::calloc(size_t(bytes), 1) : nullptr;
    if (block == nullptr) {
        std::fprintf(stderr, "quentaro: cannot allocate %lld bytes for the frame buffers\n", bytes);
        std::exit(1);
    }
    return block;
}

}  // namespace

void ReleaseFrameBuffers() {
    std::free(Framebuffer);
    std::free(SavedFrame);
    std::free(PickBuffer);
    std::free(SpareFrames[0]);
    std::free(SpareFrames[1]);
    Framebuffer = SavedFrame = SpareFrames[0] = SpareFrames[1] = nullptr;
    PickBuffer = nullptr;
}

void ResizeFrame(int width, int height) {
    AppState.frameWidth = width;
    AppState.frameHeight = height;
    ReleaseFrameBuffers();
    long long bytes = static_cast<long long>(width) * height * 4;
    Framebuffer = static_cast<std::uint8_t*>(AllocateOrDie(bytes));
    SavedFrame = static_cast<std::uint8_t*>(AllocateOrDie(bytes));
    SpareFrames[0] = static_cast<std::uint8_t*>(AllocateOrDie(bytes));
    SpareFrames[1] = static_cast<std::uint8_t*>(AllocateOrDie(bytes));
    PickBuffer = static_cast<std::int32_t*>(AllocateOrDie(bytes));
}
