// The rendered scene back in the software frame: the colour read into a scratch block of
// exactly the size read, laid over a 320 x 240 frame with the clear colour as a transparent
// key, and the depth read into SceneDepthBuffer for the occlusion test. Also the frame fill.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "draw/pixels.h"
#include "scene/scene_buffers.h"
#include "scene/scene_renderer.h"
#include "scene/scene_state.h"
#include "shell/app_state.h"
#include "shell/frame_buffers.h"

// Last: on Windows the GL header brings the system's macros along.
#include <GL/gl.h>

namespace {

constexpr std::size_t SCENE_PIXELS = std::size_t(SCENE_WIDTH) * SCENE_HEIGHT;

// Frames smaller than the scene exist, so the read never goes into a frame buffer.
std::vector<std::uint8_t>& SceneColour() {
    static std::vector<std::uint8_t> colour(SCENE_PIXELS * 3);
    return colour;
}

// The clear colour's blue of 0.9 reads back as 229 where the driver truncates and as 230
// where it rounds; both are the key, or a rounding driver would paint the whole frame.
bool IsSceneKey(const std::uint8_t* p) {
    return p[0] == SCENE_KEY_R && p[1] == SCENE_KEY_G &&
           (p[2] == SCENE_KEY_B || p[2] == SCENE_KEY_B + 1);
}

void ReadSceneDepth() {
    if (SceneDepthBuffer == nullptr) AllocateSceneDepthBuffer();
    if (SceneDepthBufferSize() < SCENE_PIXELS) return;
    glReadPixels(0, 0, SCENE_WIDTH, SCENE_HEIGHT, GL_DEPTH_COMPONENT, GL_FLOAT, SceneDepthBuffer);
}

}  // namespace

void CompositeSceneIntoFramebuffer() {
    glLoadIdentity();
    std::vector<std::uint8_t>& colour = SceneColour();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, SCENE_WIDTH, SCENE_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, colour.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    ReadSceneDepth();
    if (Framebuffer == nullptr || AppState.frameWidth != SCENE_WIDTH ||
        AppState.frameHeight != SCENE_HEIGHT)
        return;
    const std::uint8_t* p = colour.data();
    for (int y = 0; y < SCENE_HEIGHT; ++y) {
        for (int x = 0; x < SCENE_WIDTH; ++x, p += 3) {
            if (IsSceneKey(p)) continue;
            PutPixel(x, y, p[0], p[1], p[2]);
        }
    }
}

void FillFramebuffer(int r, int g, int b) {
    if (Framebuffer == nullptr) return;
    std::size_t pixels = std::size_t(AppState.frameWidth) * std::size_t(AppState.frameHeight);
    for (std::uint8_t *p = Framebuffer, *end = Framebuffer + pixels * 4; p < end; p += 4) {
        p[0] = std::uint8_t(r);
        p[1] = std::uint8_t(g);
        p[2] = std::uint8_t(b);
    }
}
