// The scripted platform of the unit tests.
#include "support/fake_platform.h"

bool FakePlatform::RegisterWindowClass() {
    calls.push_back("RegisterWindowClass");
    if (failStep[REGISTER_CLASS]) return false;
    ++classes;
    return true;
}

bool FakePlatform::UnregisterWindowClass() {
    calls.push_back("UnregisterWindowClass");
    if (classes == 0 || failStep[UNREGISTER_CLASS]) return false;
    --classes;
    return true;
}

bool FakePlatform::ChangeDisplayMode(int, int, int) {
    calls.push_back("ChangeDisplayMode");
    return displayModeOffered;
}

bool FakePlatform::CreateMainWindow(const char*, int x, int y, int width, int height) {
    calls.push_back("CreateMainWindow");
    if (failStep[CREATE_WINDOW]) return false;
    ++windows;
    rect = {x, y, x + width, y + height};
    return true;
}

bool FakePlatform::CreateGlContext() {
    calls.push_back("CreateGlContext");
    if (failStep[CREATE_CONTEXT]) return false;
    ++contexts;
    return true;
}

bool FakePlatform::DeleteGlContext() {
    calls.push_back("DeleteGlContext");
    --contexts;  // forgotten whatever the outcome
    return !failStep[DELETE_CONTEXT];
}

bool FakePlatform::DestroyMainWindow() {
    calls.push_back("DestroyMainWindow");
    --windows;
    return !failStep[DESTROY_WINDOW];
}

void FakePlatform::MoveMainWindow(int x, int y, int width, int height) {
    rect = {x, y, x + width, y + height};
}

bool FakePlatform::NextEvent(platform::Event& event) {
    if (events.empty()) return false;
    event = events.front();
    events.pop_front();
    return true;
}

void FakePlatform::PointAtFramePixel(int column, int row, int frameWidth, int frameHeight) {
    int scaleX = (rect.right - rect.left) / frameWidth;
    int scaleY = (rect.bottom - rect.top) / frameHeight;
    cursorX = rect.left + column * scaleX;
    cursorY = rect.bottom - 1 - row * scaleY;
}
