// The hook procedures that record key-downs and right presses, and the cursor mapping.
#include "shell/input_hooks.h"

#include "shell/app_state.h"

int KeyState[256];
MouseStateRecord MouseState;

void InstallInputHooks() {
    platform::Sys().InstallMouseCapture();
    platform::Sys().InstallKeyboardCapture();
}

long KeyboardHook(int code, unsigned message, const platform::Event& event) {
    if (code == HC_ACTION && message == platform::MSG_KEYDOWN && event.param < 256)
        KeyState[event.param] = 1;
    return 0;  // nothing is swallowed: the capture only watches
}

long MouseHook(int code, unsigned message, const platform::Event&) {
    if (code == HC_ACTION && message == platform::MSG_RBUTTONDOWN) MouseState.rightPress = 1;
    return 0;
}

int CursorColumn() {
    int x, y;
    platform::Sys().CursorPosition(x, y);
    platform::WindowRect rect = platform::Sys().MainWindowRect();
    if (rect.right == rect.left) return 0;
    float c = float(x - rect.left) / float(rect.right - rect.left) * float(AppState.frameWidth);
    if (c < 0) return 0;
    if (c > float(AppState.frameWidth - 1)) return AppState.frameWidth - 1;
    return int(c);
}

int CursorRow() {
    int x, y;
    platform::Sys().CursorPosition(x, y);
    platform::WindowRect rect = platform::Sys().MainWindowRect();
    if (rect.bottom == rect.top) return 0;
    float r = float(rect.bottom - y) / float(rect.bottom - rect.top) * float(AppState.frameHeight);
    if (r < 0) return 0;
    if (r > float(AppState.frameHeight - 1)) return AppState.frameHeight - 1;
    return int(r);
}
