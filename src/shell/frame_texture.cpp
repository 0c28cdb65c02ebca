// The frame reaches the window as one texture, updated in place on every present and drawn
// as a quad at the pixel scale. Handing the pixels to glDrawPixels instead makes the GL
// library build a texture for every call, and the software renderer keeps the last few with
// a copy of their pixels to spot a repeated image: with a 960 x 540 frame that held 12 MB
// more from the first few differing frames on, and cost two fresh frame-sized blocks a present.
#include "shell/frame_texture.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>

namespace {

GLuint Texture = 0;
int TextureWidth = 0, TextureHeight = 0;
int NonPowerOfTwo = -1;  // whether the context takes textures of any size; -1 not asked yet
GLint Largest = 0;       // the context's largest texture side, asked once with the above

// Textures of any size came with GL 2.0 (before, as an extension); the frame is 960 x 540.
bool TexturesOfAnySize() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (version != nullptr && std::atoi(version) >= 2) return true;
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return extensions != nullptr && std::strstr(extensions, "GL_ARB_texture_non_power_of_two");
}

}  // namespace

void ForgetFrameTexture() {
    Texture = 0;
    TextureWidth = TextureHeight = 0;
    NonPowerOfTwo = -1;
    Largest = 0;
}

bool DrawFrameTexture(const std::uint8_t* pixels, int width, int height, int scale) {
    if (pixels == nullptr || width <= 0 || height <= 0 || scale < 1) return false;
    if (NonPowerOfTwo < 0) {
        NonPowerOfTwo = TexturesOfAnySize() ? 1 : 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &Largest);
    }
    if (NonPowerOfTwo == 0 || width > Largest || height > Largest) return false;

    glPushAttrib(GL_ENABLE_BIT | GL_VIEWPORT_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT |
                 GL_TRANSFORM_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    if (Texture == 0) glGenTextures(1, &Texture);
    glBindTexture(GL_TEXTURE_2D, Texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (width != TextureWidth || height != TextureHeight) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     pixels);
        TextureWidth = width;
        TextureHeight = height;
    } else {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    }
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    // The viewport is the frame at its scale; each window pixel's centre then falls inside the
    // frame pixel it belongs to, so nearest sampling gives exact blocks.
    glViewport(0, 0, width * scale, height * scale);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-1, -1);
    glTexCoord2f(1, 0);
    glVertex2f(1, -1);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(-1, 1);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();  // the matrix mode too
    return true;
}
