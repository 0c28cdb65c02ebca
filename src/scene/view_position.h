// The view position of the engine's screens: the map cell drawn at the framebuffer's origin
// corner and the level the tile map shows. Set by the console's teleport, moved by the view
// keys and the strategic keys, read by the tile map and the 3D scene.
#pragma once

extern int ViewX, ViewY, ViewLevel;
