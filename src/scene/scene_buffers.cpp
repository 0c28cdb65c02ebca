// The scene's depth buffer, sized once at start-up and never resized.
#include "scene/scene_buffers.h"

#include <cstdio>
#include <cstdlib>

#include "shell/app_state.h"

float* SceneDepthBuffer = nullptr;

namespace {

std::size_t depthFloats = 0;
constexpr std::size_t SCENE_DEPTH_FLOATS = 320 * 240;

}  // namespace

std::size_t SceneDepthBufferSize() {
    return SceneDepthBuffer != nullptr ? depthFloats : 0;
}

void AllocateSceneDepthBuffer() {
    if (SceneDepthBuffer) return;  // sized once, at the start-up frame
    std::size_t count = std::size_t(AppState.frameWidth) * std::size_t(AppState.frameHeight);
    // A small start-up frame still gets room for the whole read-back.
    if (count < SCENE_DEPTH_FLOATS) count = SCENE_DEPTH_FLOATS;
    SceneDepthBuffer = static_cast<float*>(std::calloc(count, sizeof(float)));
    if (SceneDepthBuffer == nullptr) {
        std::fprintf(stderr, "quentaro: cannot allocate the scene depth buffer\n");
        std::exit(1);
    }
    depthFloats = count;
}
