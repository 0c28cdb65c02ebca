// The scene's state between frames and its start values.
#include "scene/scene_state.h"

#include <cstddef>

#include "gamedata/table_memory.h"

float CameraYaw = 0.0f, CameraPitch = 0.0f;
int SceneRadius = 14;
float SceneStepRate = 30.0f;
GroundPosition LastGroundPosition = {1, 1, 28};
int SelectedUnit = 1;
ProjectedPointRecord ProjectedPoint = {0.0f, 0.0f, 0.0f};
ProjectedCorner* ProjectedCornerTable = nullptr;

namespace {

constexpr long long CORNER_COUNT =
    (long long)CORNER_TABLE_SIDE * CORNER_TABLE_SIDE * CORNER_TABLE_SIDE;

}  // namespace

ProjectedCorner& CornerAt(int level, int row, int column) {
    if (ProjectedCornerTable == nullptr) {
        ProjectedCornerTable = CreateTableOf<ProjectedCorner>("projected corners", CORNER_COUNT);
        for (long long i = 0; i < CORNER_COUNT; ++i)
            ProjectedCornerTable[i] = {CORNER_OFF_SCREEN, CORNER_OFF_SCREEN, 0};
    }
    return ProjectedCornerTable[(std::size_t(level) * CORNER_TABLE_SIDE + row) * CORNER_TABLE_SIDE +
                                column];
}

void ResetSceneState() {
    CameraYaw = CameraPitch = 0.0f;
    SceneRadius = 14;
    SceneStepRate = 30.0f;
    LastGroundPosition = {1, 1, 28};
    SelectedUnit = 1;
    ProjectedPoint = {0.0f, 0.0f, 0.0f};
}
