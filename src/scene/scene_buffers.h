// Buffers of the 3D scene that the shell allocates at start-up.
#pragma once

#include <cstddef>

// frameWidth * frameHeight floats at the start-up size, and never fewer than the scene's
// 320 x 240 that the depth read-back fills.
extern float* SceneDepthBuffer;

void AllocateSceneDepthBuffer();
std::size_t SceneDepthBufferSize();  // floats in SceneDepthBuffer, 0 before allocation
