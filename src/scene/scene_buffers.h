// Buffers of the 3D scene that the shell allocates at start-up.
#pragma once

extern float* SceneDepthBuffer;  // frameWidth * frameHeight floats at the start-up size

void AllocateSceneDepthBuffer();
