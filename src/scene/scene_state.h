// What the 3D scene keeps between frames: the camera, the range and pace of the walk, the
// last position that stood on ground, the followed unit and the projection results.
#pragma once

#include <cstdint>

constexpr int SCENE_WIDTH = 320;  // the scene always renders and reads back at this size
constexpr int SCENE_HEIGHT = 240;
// The read-back value of the GL clear colour: pixels of this colour are not composited.
constexpr int SCENE_KEY_R = 255, SCENE_KEY_G = 0, SCENE_KEY_B = 229;
// Sides of ProjectedCornerTable: columns per row, rows per level slice, level slices.
constexpr int CORNER_TABLE_SIDE = 100;
// A corner that was not projected or fell off screen.
constexpr std::int16_t CORNER_OFF_SCREEN = -1;

struct GroundPosition {
    int x, y, level;
};
struct ProjectedPointRecord {
    float x, y, depth;  // window position and window depth of the last ProjectPoint
};
struct ProjectedCorner {
    std::int16_t x, y, unused;
};

extern float CameraYaw, CameraPitch;  // degrees, set from the mouse
extern int SceneRadius;               // cubes drawn for 2 * SceneRadius cells along each axis
extern float SceneStepRate;           // forward steps on every int(SceneStepRate / 10)-th pass
extern GroundPosition LastGroundPosition;
extern int SelectedUnit;  // the unit the camera follows and the tile map marks
extern ProjectedPointRecord ProjectedPoint;
// [level][row][column], CORNER_TABLE_SIDE each, flattened; see CornerAt.
extern ProjectedCorner* ProjectedCornerTable;

ProjectedCorner& CornerAt(int level, int row, int column);
// Back to the start values; the corner table is created on first use.
void ResetSceneState();
