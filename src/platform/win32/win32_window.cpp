// The main window of the Windows backend: the window class "OpenGL", a WS_POPUP window with
// a WGL context on the pixel format the shell asks for, the display-mode change for
// fullscreen, the cursor and the window's placement. The shell's window code drives these
// steps one by one so it can report each failure in its own words.
#include <chrono>

#include "platform/win32/win32_platform.h"

namespace platform {

namespace {

constexpr const char* MENU_WINDOW_CLASS = "OpenGL";

const char* ClassName() {
    return WindowClass().empty() ? MENU_WINDOW_CLASS : WindowClass().c_str();
}

struct MainWindowState {
    HINSTANCE instance = nullptr;
    bool classRegistered = false;
    HWND window = nullptr;
    HDC dc = nullptr;
    HGLRC context = nullptr;
    PIXELFORMATDESCRIPTOR wanted{};
    int format = 0;
    bool modeChanged = false;
    bool cursorShown = true;
};

MainWindowState state;

// The window's messages become the program's events. The answers the shell's window
// procedure gives are given here, where the system waits for them: activation, the close
// request and the screen saver's notices are kept from the default procedure.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        QueueEvent(Event{EventSource::Window, MSG_ACTIVATE, LOWORD(wParam) != WA_INACTIVE});
        return 0;
    case WM_CLOSE:
        QueueEvent(Event{EventSource::Window, MSG_CLOSE, 0});
        return 0;
    case WM_SYSCOMMAND: {
        unsigned command = unsigned(wParam & 0xFFF0);
        QueueEvent(Event{EventSource::Window, MSG_SYSCOMMAND, command});
        if (command == SC_SCREENSAVE || command == SC_MONITORPOWER) return 0;
        break;
    }
    case WM_PAINT:
    case WM_SIZE:
    case WM_MOVE:
        QueueEvent(Event{EventSource::Window, message, 0});
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND MainWindowHandle() {
    return state.window;
}

// The desktop is always there on Windows.
bool Win32Platform::Connect(std::string&) {
    state.instance = GetModuleHandleA(nullptr);
    return true;
}

int Win32Platform::ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

int Win32Platform::ScreenHeight() {
    return GetSystemMetrics(SM_CYSCREEN);
}

bool Win32Platform::RegisterWindowClass() {
    if (state.instance == nullptr) state.instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = state.instance;
    windowClass.hIcon = LoadIcon(nullptr, IDI_WINLOGO);
    windowClass.hCursor = LoadCursor(nullptr, IDC_CROSS);
    windowClass.lpszClassName = ClassName();
    state.classRegistered = RegisterClassA(&windowClass) != 0;
    return state.classRegistered;
}

bool Win32Platform::UnregisterWindowClass() {
    bool ok = UnregisterClassA(ClassName(), state.instance) != 0;
    if (ok) state.classRegistered = false;
    return ok;
}

bool Win32Platform::ChangeDisplayMode(int width, int height, int bits) {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = DWORD(width);
    mode.dmPelsHeight = DWORD(height);
    mode.dmBitsPerPel = DWORD(bits);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    bool changed = ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
    if (changed) state.modeChanged = true;
    return changed;
}

void Win32Platform::RestoreDisplayMode() {
    if (!state.modeChanged) return;
    ChangeDisplaySettingsA(nullptr, 0);
    state.modeChanged = false;
}

bool Win32Platform::CreateMainWindow(const char* title, int x, int y, int width, int height) {
    if (state.window != nullptr) return false;
    // A fullscreen window takes no edge; neither has a caption or border.
    DWORD extended = state.modeChanged ? WS_EX_APPWINDOW : WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    DWORD style = WS_POPUP;
    RECT rect{0, 0, width, height};
    AdjustWindowRectEx(&rect, style, FALSE, extended);
    state.window = CreateWindowExA(
        extended, ClassName(), title, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y,
        rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, state.instance, nullptr);
    return state.window != nullptr;
}

bool Win32Platform::GetDeviceContext() {
    if (state.window == nullptr) return false;
    state.dc = GetDC(state.window);
    return state.dc != nullptr;
}

bool Win32Platform::ChoosePixelFormat(const PixelFormatWanted& wanted) {
    if (state.dc == nullptr) return false;
    PIXELFORMATDESCRIPTOR& pfd = state.wanted;
    pfd = PIXELFORMATDESCRIPTOR{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | (wanted.doubleBuffer ? PFD_DOUBLEBUFFER : 0);
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = BYTE(wanted.colourBits);
    pfd.cDepthBits = BYTE(wanted.depthBits);
    pfd.iLayerType = PFD_MAIN_PLANE;
    state.format = ::ChoosePixelFormat(state.dc, &pfd);
    return state.format != 0;
}

bool Win32Platform::SetPixelFormat() {
    return state.dc != nullptr && state.format != 0 &&
           ::SetPixelFormat(state.dc, state.format, &state.wanted);
}

bool Win32Platform::CreateGlContext() {
    if (state.dc == nullptr) return false;
    state.context = wglCreateContext(state.dc);
    return state.context != nullptr;
}

bool Win32Platform::MakeGlContextCurrent() {
    return state.context != nullptr && wglMakeCurrent(state.dc, state.context);
}

void Win32Platform::ShowAndFocusMainWindow() {
    if (state.window == nullptr) return;
    ShowWindow(state.window, SW_SHOW);
    SetForegroundWindow(state.window);
    SetFocus(state.window);
}

bool Win32Platform::HasGlContext() {
    return state.context != nullptr;
}

bool Win32Platform::ReleaseGlContext() {
    return wglMakeCurrent(nullptr, nullptr);
}

bool Win32Platform::DeleteGlContext() {
    if (state.context == nullptr) return false;
    bool ok = wglDeleteContext(state.context);
    state.context = nullptr;
    return ok;
}

bool Win32Platform::HasDeviceContext() {
    return state.dc != nullptr;
}

bool Win32Platform::ReleaseDeviceContext() {
    if (state.dc == nullptr) return false;
    bool ok = ReleaseDC(state.window, state.dc) != 0;
    state.dc = nullptr;
    state.format = 0;
    return ok;
}

bool Win32Platform::HasMainWindow() {
    return state.window != nullptr;
}

bool Win32Platform::DestroyMainWindow() {
    if (state.window == nullptr) return false;
    bool ok = DestroyWindow(state.window);
    state.window = nullptr;
    return ok;
}

void Win32Platform::SwapBuffers() {
    if (state.dc && state.context) ::SwapBuffers(state.dc);
}

WindowRect Win32Platform::MainWindowRect() {
    WindowRect result;
    RECT rect;
    if (state.window && GetWindowRect(state.window, &rect))
        result = WindowRect{rect.left, rect.top, rect.right, rect.bottom};
    return result;
}

void Win32Platform::MoveMainWindow(int x, int y, int width, int height) {
    if (state.window) ::MoveWindow(state.window, x, y, width, height, TRUE);
}

// ShowCursor keeps a count; the program asks for a state, so the count moves only on a change.
void Win32Platform::ShowSystemCursor(bool show) {
    if (show == state.cursorShown) return;
    ShowCursor(show ? TRUE : FALSE);
    state.cursorShown = show;
}

}  // namespace platform
