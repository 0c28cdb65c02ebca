// The scene's depth buffer, sized once at start-up and never resized.
#include "scene/scene_buffers.h"

#include <cstdio>
#include <cstdlib>

#include "shell/app_state.h"

float* SceneDepthBuffer = nullptr;

void AllocateSceneDepthBuffer() {
    if (SceneDepthBuffer) return;  // sized once, at the start-up frame
    std::size_t count = std::size_t(AppState.frameWidth) * std::size_t(AppState.frameHeight);
    SceneDepthBuffer = static_cast<float*>(std::calloc(count, sizeof(float)));
    if (SceneDepthBuffer == nullptr) {
        std::fprintf(stderr, "quentaro: cannot allocate the scene depth buffer\n");
        std::exit(1);
    }
}
