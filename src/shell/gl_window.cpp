// Window and GL context life cycle, fixed GL state and frame presentation. Every step
// of window creation goes through the platform one at a time so that each failure
// shows its own message, and a failure always leaves no half-made window behind.
#include "shell/gl_window.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstring>

#include "gamedata/engine_settings.h"
#include "gamedata/image_slots.h"
#include "shell/app_state.h"
#include "shell/frame_buffers.h"
#include "shell/frame_texture.h"
#include "shell/pacing.h"

using platform::MessageIcon;
using platform::Sys;

PixelFormatDescriptor PixelFormatRequest;
bool PixelFormatRequestFilled = false;
bool FullscreenFlag = false;
unsigned CubeTextureNames[32];
int WindowActive = 0;

namespace {

constexpr int CUBE_SLOT_FIRST = 1200;
constexpr int CUBE_TEXTURES = 7;

void FillPixelFormatRequest(int bits) {
    std::memset(&PixelFormatRequest, 0, sizeof PixelFormatRequest);
    PixelFormatRequest.size = sizeof PixelFormatRequest;
    PixelFormatRequest.version = 1;
    PixelFormatRequest.flags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    PixelFormatRequest.pixelType = PFD_TYPE_RGBA;
    PixelFormatRequest.colourBits = std::uint8_t(bits);
    PixelFormatRequest.depthBits = 16;
    PixelFormatRequest.layerType = PFD_MAIN_PLANE;
    PixelFormatRequestFilled = true;
}

int Fail(const char* message) {
    CloseGlWindow();
    Sys().ShowMessage(message, "ERROR", MessageIcon::Exclamation);
    return 0;
}

}  // namespace

int OpenMainWindow() {
    char title[256];
    std::snprintf(title, sizeof title, "GAME");
    if (!OpenGlWindow(title, AppState.frameWidth * AppState.pixelScale,
                      AppState.frameHeight * AppState.pixelScale, 16, FullscreenFlag))
        return 0;
    Sys().ShowSystemCursor(false);
    return 1;
}

int OpenGlWindow(const char* title, int width, int height, int bits, bool fullscreen) {
    FullscreenFlag = fullscreen;
    if (!Sys().RegisterWindowClass()) {
        Sys().ShowMessage("Failed To Register The Window Class.", "ERROR",
                          MessageIcon::Exclamation);
        return 0;
    }
    if (FullscreenFlag && !Sys().ChangeDisplayMode(width, height, bits)) {
        if (Sys().AskYesNo("The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. "
                           "Use Windowed Mode Instead?",
                           "Varko GL", MessageIcon::Exclamation)) {
            FullscreenFlag = false;
        } else {
            Sys().ShowMessage("Program Will Now Close.", "ERROR", MessageIcon::Stop);
            return 0;
        }
    }
    if (FullscreenFlag) Sys().ShowSystemCursor(false);

    if (!Sys().CreateMainWindow(title, 0, 0, width, height)) return Fail("Window Creation Error.");
    if (!PixelFormatRequestFilled) FillPixelFormatRequest(bits);
    if (!Sys().GetDeviceContext()) return Fail("Can't Create A GL Device Context.");
    platform::PixelFormatWanted wanted;
    wanted.colourBits = PixelFormatRequest.colourBits;
    wanted.depthBits = PixelFormatRequest.depthBits;
    wanted.doubleBuffer = (PixelFormatRequest.flags & PFD_DOUBLEBUFFER) != 0;
    if (!Sys().ChoosePixelFormat(wanted)) return Fail("Can't Find A Suitable PixelFormat.");
    if (!Sys().SetPixelFormat()) return Fail("Can't Set The PixelFormat.");
    if (!Sys().CreateGlContext()) return Fail("Can't Create A GL Rendering Context.");
    if (!Sys().MakeGlContextCurrent()) return Fail("Can't Activate The GL Rendering Context.");
    Sys().ShowAndFocusMainWindow();
    SetProjection(width, height);
    if (!SetUpGlState()) return Fail("Initialization Failed.");
    MarkScreenStale();  // a new window shows nothing until it is given a frame
    return 1;
}

void CloseGlWindow() {
    // The window goes, and its focus with it: a window made anew is active once it says so.
    WindowActive = 0;
    const char* caption = "SHUTDOWN ERROR";
    const MessageIcon icon = MessageIcon::Information;
    if (FullscreenFlag) {
        Sys().RestoreDisplayMode();
        Sys().ShowSystemCursor(true);
    }
    if (Sys().HasGlContext()) {
        ForgetFrameTexture();
        if (!Sys().ReleaseGlContext())
            Sys().ShowMessage("Release Of DC And RC Failed.", caption, icon);
        if (!Sys().DeleteGlContext())
            Sys().ShowMessage("Release Rendering Context Failed.", caption, icon);
    }
    if (Sys().HasDeviceContext() && !Sys().ReleaseDeviceContext())
        Sys().ShowMessage("Release Device Context Failed.", caption, icon);
    if (Sys().HasMainWindow() && !Sys().DestroyMainWindow())
        Sys().ShowMessage("Could Not Release hWnd.", caption, icon);
    if (!Sys().UnregisterWindowClass())
        Sys().ShowMessage("Could Not Unregister Class.", caption, icon);
}

// The window size does not matter: the viewport and projection serve the 3D scene,
// which always renders at 320 x 240.
void SetProjection(int, int) {
    glViewport(0, 0, 320, 240);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, double(4.0f / 3.0f), double(0.1f), 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

int SetUpGlState() {
    UploadCubeTextures();
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(1.0f, 0.0f, 0.9f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    return 1;
}

int UploadCubeTextures() {
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glGenTextures(32, CubeTextureNames);
    for (int i = 0; i < CUBE_TEXTURES; ++i) {
        glBindTexture(GL_TEXTURE_2D, CubeTextureNames[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        // A missing or non-square picture would make the upload read past its pixels:
        // that texture stays empty instead.
        int number = CUBE_SLOT_FIRST + i;
        const ImageSlot* slot = ImageSlots && number < SLOT_COUNT ? &ImageSlots[number] : nullptr;
        if (slot == nullptr || slot->pixels == nullptr || slot->width <= 0 ||
            slot->width != slot->height)
            continue;
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, 3, slot->width, slot->width, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     slot->pixels);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    }
    return 1;
}

void ClearFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    size_t pixels = size_t(AppState.frameWidth) * size_t(AppState.frameHeight);
    std::memset(Framebuffer, 0, pixels * 4);
    std::memset(PickBuffer, 0, pixels * sizeof(std::int32_t));
}

void PresentFrame() {
    int s = AppState.pixelScale;
    if (s < 1 || s > 5 ||
        !DrawFrameTexture(Framebuffer, AppState.frameWidth, AppState.frameHeight, s)) {
        glDisable(GL_TEXTURE_2D);
        if (s >= 1 && s <= 5) glPixelZoom(float(s), float(s));
        glDrawPixels(AppState.frameWidth, AppState.frameHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                     Framebuffer);
    }
    Sys().SwapBuffers();
    glEnable(GL_TEXTURE_2D);
}

long WindowProc(const platform::Event& event) {
    switch (event.message) {
    case platform::MSG_ACTIVATE:
        WindowActive = event.param != 0 ? 1 : 0;
        return 0;
    case platform::MSG_SYSCOMMAND:
        if (event.param == platform::SC_SCREEN_SAVE || event.param == platform::SC_MONITOR_POWER)
            return 0;  // no screen saver while the window is active
        break;
    case platform::MSG_CLOSE:
        AppState.quitRequested = 1;  // the loop ends at the top of its next pass
        return 0;
    case platform::MSG_PAINT:
    case platform::MSG_SIZE:
    case platform::MSG_MOVE:
        // What the window shows is gone or no longer where the cursor mapping expects it.
        MarkScreenStale();
        break;
    default:
        break;
    }
    Sys().DefaultWindowEvent(event);
    return 0;
}
