// The edge overlay: the low corner of every cell in a box around the view position is
// projected into ProjectedCornerTable, then corners are joined by white lines in the frame
// where the edge borders something, both ends are on screen and both are seen.

#include <algorithm>
#include <cmath>

#include "draw/lines.h"
#include "gamedata/engine_settings.h"
#include "scene/scene_renderer.h"
#include "scene/scene_state.h"
#include "scene/scene_walk.h"
#include "scene/view_position.h"
#include "world/world_tables.h"

// Last: on Windows the GL header brings the system's macros along.
#include <GL/gl.h>
#include <GL/glu.h>

namespace {

// The box spans 2R cells and its corners one more, all inside the table's side.
constexpr int MAX_EDGE_RADIUS = (CORNER_TABLE_SIDE - 1) / 2;

int CodeAt(long long level, long long x, long long y) {
    if (x < 0 || y < 0 || level < 0 || x >= MAP_WIDTH || y >= MAP_WIDTH || level >= LEVEL_COUNT)
        return 0;
    return MapGrid[CellIndex(int(x), int(y), int(level))];
}

std::int16_t Clamp16(double v) {
    return std::int16_t(std::clamp(v, -32768.0, 32767.0));
}

bool OnScreen(const ProjectedCorner& p) {
    return p.x > 0 && p.x < SCENE_WIDTH && p.y > 0 && p.y < SCENE_HEIGHT;
}

// Projects the low corner of each cell of the box, and of the ring beyond it, under the
// current matrices. A corner that cannot be projected, or lies behind the eye, is off screen.
void FillCornerTable(int R) {
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    for (int d = 0; d <= 2 * R; ++d) {
        for (int g = 0; g <= 2 * R; ++g) {
            for (int o = 0; o <= 2 * R; ++o) {
                // Cell (ViewX - R + o, ViewY - R + g, ViewLevel - R + d), corner (-0.5)^3.
                double x = o - R - 0.5, y = R - g - 0.5, z = d - R - 0.5;
                GLdouble wx, wy, wz;
                ProjectedCorner& c = CornerAt(d, g, o);
                bool ok = gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz) &&
                          std::isfinite(wx) && std::isfinite(wy) && wz >= 0 && wz <= 1;
                c = ok ? ProjectedCorner{Clamp16(wx), Clamp16(wy), Clamp16(wz)}
                       : ProjectedCorner{CORNER_OFF_SCREEN, CORNER_OFF_SCREEN, 0};
            }
        }
    }
}

bool Seen(float x0, float y0, float z0, float x1, float y1, float z1) {
    return IsPointOccluded(x0, y0, z0) == 0 && IsPointOccluded(x1, y1, z1) == 0;
}

void Join(const ProjectedCorner& p, const ProjectedCorner& q) {
    DrawLine(p.x, p.y, q.x, q.y, 255, 255, 255);
}

}  // namespace

void DrawGridEdges() {
    if (UnitTable == nullptr || MapGrid == nullptr || UNIT_CAPACITY <= WALKER) return;
    const int R = std::clamp(SceneRadius, 0, MAX_EDGE_RADIUS);
    glPushMatrix();
    ApplySceneCamera(UnitTable[WALKER]);
    FillCornerTable(R);
    for (int d = 0; d < 2 * R; ++d) {
        const int L = ViewLevel - R + d;
        if (L <= 0 || L >= LEVEL_COUNT - 1) continue;
        for (int g = 0; g < 2 * R; ++g) {
            const int Y = ViewY - R + g;
            if (Y <= 0 || Y >= MAP_WIDTH - 1) continue;
            for (int o = 0; o < 2 * R; ++o) {
                const int X = ViewX - R + o;
                if (X <= 0 || X >= MAP_WIDTH - 1) continue;
                const ProjectedCorner& p = CornerAt(d, g, o);
                if (!OnScreen(p)) continue;
                const ProjectedCorner& alongX = CornerAt(d, g, o + 1);
                const ProjectedCorner& alongY = CornerAt(d, g + 1, o);
                const ProjectedCorner& alongL = CornerAt(d + 1, g, o);
                glPushMatrix();
                glTranslatef(float(X - ViewX), float(ViewY - Y), float(L - ViewLevel));
                if (OnScreen(alongX) &&
                    (CodeAt(L, X, Y) || CodeAt(L, X, Y + 1) || CodeAt(L - 1, X, Y) ||
                     CodeAt(L - 1, X, Y + 1)) &&
                    Seen(-0.5f, -0.5f, -0.5f, 0.5f, -0.5f, -0.5f))
                    Join(p, alongX);
                if (OnScreen(alongY) &&
                    (CodeAt(L, X, Y + 1) || CodeAt(L - 1, X, Y + 1) || CodeAt(L, X - 1, Y + 1) ||
                     CodeAt(L - 1, X - 1, Y + 1)) &&
                    Seen(-0.5f, -0.5f, -0.5f, -0.5f, -1.5f, -0.5f))
                    Join(p, alongY);
                if (OnScreen(alongL) &&
                    (CodeAt(L, X, Y) || CodeAt(L, X - 1, Y) || CodeAt(L, X, Y + 1) ||
                     CodeAt(L, X - 1, Y + 1)) &&
                    Seen(-0.5f, -0.5f, -0.5f, -0.5f, -0.5f, 0.5f))
                    Join(p, alongL);
                glPopMatrix();
            }
        }
    }
    glPopMatrix();
}
