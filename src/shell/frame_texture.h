// The frame shown through one texture that lives as long as the GL context.
#pragma once

#include <cstdint>

// Draws `width` x `height` RGBA pixels (rows bottom-up) into the window's bottom-left corner,
// each pixel a `scale` x `scale` block, as glPixelZoom and glDrawPixels would. False, with
// nothing drawn, where the context cannot hold such a texture; the caller then draws the
// pixels itself. The GL state other than the texture's contents is left as it was.
bool DrawFrameTexture(const std::uint8_t* pixels, int width, int height, int scale);

// The context that held the texture is gone: the next draw makes a new one.
void ForgetFrameTexture();
