// The view position shared by the engine's screens, keys and console.
#include "scene/view_position.h"

int ViewX = 0, ViewY = 0, ViewLevel = 0;
