// The frame-sized buffers: what every view draws into and what the window shows.
#pragma once

#include <cstdint>

extern std::uint8_t* Framebuffer;  // 4 bytes R, G, B, A per pixel, row 0 at the bottom
extern std::uint8_t* SavedFrame;   // the finished view, copied back each pass
extern std::int32_t* PickBuffer;   // pick id per pixel, 0 for nothing
extern std::uint8_t* SpareFrames[2];

// Sets frameWidth and frameHeight and (re)allocates the five buffers. A size that
// cannot be allocated ends the program with a message on standard error.
void ResizeFrame(int width, int height);
void ReleaseFrameBuffers();
// 1 while the zeroed row before and the one after each of Framebuffer, SavedFrame and
// PickBuffer are untouched; 0 once any write has landed outside its buffer there.
int FrameGuardsIntact();
