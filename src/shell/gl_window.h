// The GL window: its life cycle with every failure message, the fixed GL state, the
// cube textures, and the presentation of the Framebuffer.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The pixel format descriptor the window asks for, laid out as the system's 40-byte record.
struct PixelFormatDescriptor {
    std::uint16_t size;
    std::uint16_t version;
    std::uint32_t flags;
    std::uint8_t pixelType;
    std::uint8_t colourBits;
    std::uint8_t redBits, redShift, greenBits, greenShift, blueBits, blueShift;
    std::uint8_t alphaBits, alphaShift;
    std::uint8_t accumBits, accumRedBits, accumGreenBits, accumBlueBits, accumAlphaBits;
    std::uint8_t depthBits;
    std::uint8_t stencilBits;
    std::uint8_t auxBuffers;
    std::uint8_t layerType;
    std::uint8_t reserved;
    std::uint32_t layerMask;
    std::uint32_t visibleMask;
    std::uint32_t damageMask;
};
static_assert(sizeof(PixelFormatDescriptor) == 40, "the descriptor is a 40-byte record");

constexpr std::uint32_t PFD_DRAW_TO_WINDOW = 0x04;
constexpr std::uint32_t PFD_SUPPORT_OPENGL = 0x20;
constexpr std::uint32_t PFD_DOUBLEBUFFER = 0x01;
constexpr std::uint8_t PFD_TYPE_RGBA = 0;
constexpr std::uint8_t PFD_MAIN_PLANE = 0;

extern PixelFormatDescriptor PixelFormatRequest;  // filled on first use, then reused
extern bool PixelFormatRequestFilled;
extern bool FullscreenFlag;            // 0: the program runs windowed
extern unsigned CubeTextureNames[32];  // texture names kept for the 3D scene
// 1 while the program's window has the keyboard focus, as its activation events say.
extern int WindowActive;

int OpenMainWindow();
int OpenGlWindow(const char* title, int width, int height, int bits, bool fullscreen);
void CloseGlWindow();
void SetProjection(int width, int height);
int SetUpGlState();
int UploadCubeTextures();
void ClearFrame();
void PresentFrame();
// The main window's procedure: returns the result of handling `event`.
long WindowProc(const platform::Event& event);
