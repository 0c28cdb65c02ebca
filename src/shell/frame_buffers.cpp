// The five frame-sized buffers, reallocated whenever the frame changes size, and the
// guard rows around the three that are drawn.
#include "shell/frame_buffers.h"

#include <cstdio>
#include <cstdlib>

#include "shell/app_state.h"
#include "shell/pacing.h"

std::uint8_t* Framebuffer = nullptr;
std::uint8_t* SavedFrame = nullptr;
std::int32_t* PickBuffer = nullptr;
std::uint8_t* SpareFrames[2] = {nullptr, nullptr};

namespace {

// The three drawn buffers each sit between two zeroed rows that no write may reach. A write
// that escapes the clipping by a row lands there, where FrameGuardsIntact lets the tests see
// it in every build, instead of in other memory where only a sanitizer would notice.
// The sizes are those of the allocation, whatever AppState says meanwhile.
std::size_t frameBytes = 0;
std::size_t guardBytes = 0;

void* AllocateOrDie(long long bytes) {
    // Zeroed, so a frame shown before anything is drawn is black rather than garbage.
    void* block = bytes > 0 ? std::calloc(size_t(bytes), 1) : nullptr;
    if (block == nullptr) {
        std::fprintf(stderr, "quentaro: cannot allocate %lld bytes for the frame buffers\n", bytes);
        std::exit(1);
    }
    return block;
}

std::uint8_t* AllocateGuarded(long long bytes) {
    auto* block =
        static_cast<std::uint8_t*>(AllocateOrDie(bytes + 2 * static_cast<long long>(guardBytes)));
    return block + guardBytes;
}

void ReleaseGuarded(void* buffer) {
    if (buffer != nullptr) std::free(static_cast<std::uint8_t*>(buffer) - guardBytes);
}

bool GuardsZero(const void* buffer) {
    if (buffer == nullptr) return true;
    const std::uint8_t* start = static_cast<const std::uint8_t*>(buffer);
    for (std::size_t i = 1; i <= guardBytes; ++i)
        if (start[-std::ptrdiff_t(i)] != 0 || start[frameBytes + guardBytes - i] != 0) return false;
    return true;
}

}  // namespace

void ReleaseFrameBuffers() {
    ReleaseGuarded(Framebuffer);
    ReleaseGuarded(SavedFrame);
    ReleaseGuarded(PickBuffer);
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
    frameBytes = bytes > 0 ? std::size_t(bytes) : 0;
    guardBytes = width > 0 ? std::size_t(width) * 4 : 0;
    Framebuffer = AllocateGuarded(bytes);
    SavedFrame = AllocateGuarded(bytes);
    SpareFrames[0] = static_cast<std::uint8_t*>(AllocateOrDie(bytes));
    SpareFrames[1] = static_cast<std::uint8_t*>(AllocateOrDie(bytes));
    PickBuffer = reinterpret_cast<std::int32_t*>(AllocateGuarded(bytes));
    MarkScreenStale();  // the saved view and the pick ids are gone with the old buffers
}

int FrameGuardsIntact() {
    return GuardsZero(Framebuffer) && GuardsZero(SavedFrame) && GuardsZero(PickBuffer) ? 1 : 0;
}
