// Points of the scene's model-view space to window positions, and whether a point is seen
// against the depth read back after the scene was drawn.

#include "scene/scene_buffers.h"
#include "scene/scene_renderer.h"
#include "scene/scene_state.h"

// Last: on Windows the GL header brings the system's macros along.
#include <GL/gl.h>
#include <GL/glu.h>

namespace {

// Rasterised depth and a projection of the same point differ in the last bits.
constexpr float DEPTH_TOLERANCE = 2e-4f;

}  // namespace

int ProjectPoint(float x, float y, float z) {
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble wx = 0, wy = 0, wz = 0;
    int result = gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz);
    ProjectedPoint = {float(wx), float(wy), float(wz)};
    return result;
}

int IsPointOccluded(float x, float y, float z) {
    const float s = 0.06f;
    const float samples[12][3] = {
        {x + s, y + s, z}, {x - s, y - s, z}, {x + s, y - s, z}, {x - s, y + s, z},
        {x + s, y, z + s}, {x - s, y, z - s}, {x - s, y, z + s}, {x + s, y, z - s},
        {x, y + s, z + s}, {x, y - s, z - s}, {x, y - s, z + s}, {x, y + s, z - s},
    };
    if (SceneDepthBuffer == nullptr ||
        SceneDepthBufferSize() < std::size_t(SCENE_WIDTH) * SCENE_HEIGHT)
        return 1;
    for (const auto& p : samples) {
        const int ok = ProjectPoint(p[0], p[1], p[2]);
        const ProjectedPointRecord& w = ProjectedPoint;
        // A failed projection leaves no position to test; NaN fails every comparison.
        if (!ok || !(w.x > 0 && w.x < SCENE_WIDTH && w.y > 0 && w.y < SCENE_HEIGHT)) return 1;
        // A sample beyond the far plane or behind the eye (depth above 1) is seen by no depth,
        // also within the tolerance, and the next one is tried; one nearer than the near plane
        // (depth below 0) lies in front of everything drawn.
        if (w.depth <= 1 &&
            SceneDepthBuffer[int(w.x) + int(w.y) * SCENE_WIDTH] >= w.depth - DEPTH_TOLERANCE)
            return 0;
    }
    return 1;
}
