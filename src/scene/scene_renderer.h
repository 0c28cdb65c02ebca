// The first-person 3D scene drawn with OpenGL: wall cells as textured cubes around the
// followed unit, read back and laid over the software frame, with an edge overlay, a point
// occlusion test, a frame fill and a random test world beside it.
#pragma once

struct UnitRecord;

// One frame: draw, walk, composite, look. Needs the GL context of the window.
void RunSceneFrame();
// Sets the camera and draws every wall cube within SceneRadius of SelectedUnit.
void DrawScene();
// The faces of one wall cell that border a cell that is not a wall.
void DrawBlockCell(int x, int y, int level);
// Reads the rendered 320 x 240 picture and its depth back; when the frame is exactly that
// size, every pixel that is not the clear colour replaces the frame's pixel.
void CompositeSceneIntoFramebuffer();
// Sets the colour bytes of every frame pixel; the fourth byte keeps its value.
void FillFramebuffer(int r, int g, int b);
// Window position and depth of a point of the current model-view space into ProjectedPoint;
// the projection's result (0 on failure).
int ProjectPoint(float x, float y, float z);
// 0 when some sample around the point is in front of the read-back depth, 1 when hidden,
// off screen or not projectable.
int IsPointOccluded(float x, float y, float z);
// White cube edges around the view position where they border something and are seen.
void DrawGridEdges();
// Random boxes (and, in mode 1, beams) of code 2, then units on non-empty cells from record 2.
void ScatterTestWorld(int count, int mode);
// The camera of the scene and the edge overlay: pitch, yaw, the grid's levels pointing down,
// then the unit's offset in its cell. Multiplies the current GL matrix.
void ApplySceneCamera(const UnitRecord& unit);
