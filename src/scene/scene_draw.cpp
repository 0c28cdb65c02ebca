// The scene's frame and its cubes: the camera set from the yaw and pitch, every wall cell in
// range drawn as a textured cube of the faces that border open cells.

#include <algorithm>

#include "dungeon/dungeon_tables.h"
#include "gamedata/engine_settings.h"
#include "scene/scene_renderer.h"
#include "scene/scene_state.h"
#include "scene/scene_walk.h"
#include "shell/gl_window.h"
#include "world/world_tables.h"

// Last: on Windows the GL header brings the system's macros along.
#include <GL/gl.h>

namespace {

// Outside the grid nothing is a wall, so a cube at the border shows its outer faces.
bool WallAt(long long x, long long y, long long level) {
    if (x < 0 || y < 0 || level < 0 || x >= MAP_WIDTH || y >= MAP_WIDTH || level >= LEVEL_COUNT)
        return false;
    return MapGrid[CellIndex(int(x), int(y), int(level))] == CELL_WALL;
}

struct FaceVertex {
    float s, t, x, y, z;
};
struct Face {
    int dx, dy, dl;  // the neighbour that hides this face when it is a wall
    float nx, ny, nz;
    FaceVertex v[4];
};

constexpr Face FACES[6] = {
    {0, 0, 1, 0, 0, 1, {{0, 1, -1, -1, 1}, {1, 1, 1, -1, 1}, {1, 0, 1, 1, 1}, {0, 0, -1, 1, 1}}},
    {0,
     0,
     -1,
     0,
     0,
     -1,
     {{1, 1, -1, -1, -1}, {1, 0, -1, 1, -1}, {0, 0, 1, 1, -1}, {0, 1, 1, -1, -1}}},
    {0, -1, 0, 0, 1, 0, {{0, 1, -1, 1, -1}, {0, 0, -1, 1, 1}, {1, 0, 1, 1, 1}, {1, 1, 1, 1, -1}}},
    {0,
     1,
     0,
     0,
     -1,
     0,
     {{1, 1, -1, -1, -1}, {0, 1, 1, -1, -1}, {0, 0, 1, -1, 1}, {1, 0, -1, -1, 1}}},
    {1, 0, 0, 1, 0, 0, {{0, 1, 1, -1, -1}, {1, 1, 1, 1, -1}, {1, 0, 1, 1, 1}, {0, 0, 1, -1, 1}}},
    {-1,
     0,
     0,
     -1,
     0,
     0,
     {{0, 1, -1, -1, -1}, {0, 0, -1, -1, 1}, {1, 0, -1, 1, 1}, {1, 1, -1, 1, -1}}},
};

// The faces of wall cell (x, y, level) that border open cells, as quads inside a begun
// glBegin(GL_QUADS), each vertex at corner * scale + (ox, oy, oz).
void EmitCellFaces(int x, int y, int level, float scale, float ox, float oy, float oz) {
    for (const Face& f : FACES) {
        if (WallAt((long long)x + f.dx, (long long)y + f.dy, (long long)level + f.dl)) continue;
        glNormal3f(f.nx, f.ny, f.nz);
        for (const FaceVertex& v : f.v) {
            glTexCoord2f(v.s, v.t);
            glVertex3f(v.x * scale + ox, v.y * scale + oy, v.z * scale + oz);
        }
    }
}

void SetCubeState() {
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_COLOR_MATERIAL);
    glBindTexture(GL_TEXTURE_2D, CubeTextureNames[1]);
    glColor3f(1, 1, 1);
}

}  // namespace

void ApplySceneCamera(const UnitRecord& unit) {
    glRotatef(CameraPitch, 1, 0, 0);
    glRotatef(180 - CameraYaw, 0, 0, 1);
    glRotatef(180, 1, 0, 0);
    glTranslatef(unit.sceneX - 0.5f, unit.sceneY - 0.5f, unit.sceneZ - 0.5f);
}

void DrawBlockCell(int x, int y, int level) {
    if (MapGrid == nullptr || x < 1 || y < 1 || x > MAP_WIDTH - 1 || y > MAP_WIDTH - 1) return;
    if (!WallAt(x, y, level)) return;
    glScalef(0.5f, 0.5f, 0.5f);
    SetCubeState();
    glBegin(GL_QUADS);
    EmitCellFaces(x, y, level, 1.0f, 0.0f, 0.0f, 0.0f);
    glEnd();
}

void DrawScene() {
    if (UnitTable == nullptr || MapGrid == nullptr) return;
    if (SelectedUnit < 0 || SelectedUnit >= UNIT_CAPACITY) return;
    const UnitRecord& u = UnitTable[SelectedUnit];
    const int R = SceneRadius;
    glPushMatrix();
    ApplySceneCamera(u);
    // The box around the unit, limited to the cells inside the grid's border.
    const int l0 = std::max(1, u.level - R), l1 = std::min(LEVEL_COUNT - 1, u.level + R);
    const int y0 = std::max(1, u.y - R), y1 = std::min(MAP_WIDTH - 1, u.y + R);
    const int x0 = std::max(1, u.x - R), x1 = std::min(MAP_WIDTH - 1, u.x + R);
    // One batch of quads for all cubes: each cube's half-size and place are applied to its
    // corners here rather than by a matrix of its own, which would end the batch.
    // Nothing is culled: from inside a wall cell, or with a cube cut by the near plane, the
    // faces turned away are the ones in view.
    SetCubeState();
    glBegin(GL_QUADS);
    for (int L = l0; L < l1; ++L) {
        for (int Y = y0; Y < y1; ++Y) {
            for (int X = x0; X < x1; ++X) {
                if (!WallAt(X, Y, L)) continue;
                EmitCellFaces(X, Y, L, 0.5f, float(X - u.x), float(u.y - Y), float(L - u.level));
            }
        }
    }
    glEnd();
    glPopMatrix();
}

void RunSceneFrame() {
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawScene();
    WalkScene();
    CompositeSceneIntoFramebuffer();
    LookWithMouse();
}
