// Events of the Windows backend: the low-level keyboard and mouse hooks and the main window
// procedure record what they see in one bounded queue, which NextEvent hands out one event
// at a time while it pumps the thread's messages. The hooks only record: every event is
// passed on to the next hook, so the focused window, ours or another program's, gets it all.
#include <deque>

#include "platform/win32/win32_platform.h"

namespace platform {

namespace {

// After a long pause one pump can bring a burst; the queue stays bounded all the same.
constexpr std::size_t QUEUE_LIMIT = 4096;

std::deque<Event> queue;
HHOOK keyboardHook = nullptr;
HHOOK mouseHook = nullptr;
// The key state's low bit tells of a press since the previous question about that key,
// whichever question it was: a press it tells of while the held state is asked is kept here
// for KeyPressed.
bool pressTold[256];

LRESULT CALLBACK KeyboardHook(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
        QueueEvent(Event{EventSource::Keyboard, unsigned(message), unsigned(key->vkCode)});
    }
    return CallNextHookEx(keyboardHook, code, message, data);
}

LRESULT CALLBACK MouseHook(int code, WPARAM message, LPARAM data) {
    // Positions are asked of the cursor when needed; only presses and the wheel are events.
    bool press = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN ||
                 message == WM_MBUTTONDOWN || message == WM_MOUSEWHEEL;
    if (code == HC_ACTION && press) QueueEvent(Event{EventSource::Mouse, unsigned(message), 0});
    return CallNextHookEx(mouseHook, code, message, data);
}

}  // namespace

void QueueEvent(const Event& event) {
    if (queue.size() < QUEUE_LIMIT) queue.push_back(event);
}

bool TakeQueuedEvent(Event& event) {
    if (queue.empty()) return false;
    event = queue.front();
    queue.pop_front();
    return true;
}

bool Win32Platform::NextEvent(Event& event) {
    if (TakeQueuedEvent(event)) return true;
    // Hooks and the window procedure run inside PeekMessage and DispatchMessage.
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return TakeQueuedEvent(event);
    TranslateMessage(&message);
    DispatchMessageA(&message);
    if (TakeQueuedEvent(event)) return true;
    // A message of no interest: one event all the same, so the pump goes on.
    event = Event{EventSource::Window, 0, 0};
    return true;
}

// The system's default work was done in the window procedure, which must answer at once.
void Win32Platform::DefaultWindowEvent(const Event&) {}

bool Win32Platform::InstallKeyboardCapture() {
    if (keyboardHook == nullptr)
        keyboardHook =
            SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHook, GetModuleHandleA(nullptr), 0);
    return keyboardHook != nullptr;
}

bool Win32Platform::InstallMouseCapture() {
    if (mouseHook == nullptr)
        mouseHook = SetWindowsHookExA(WH_MOUSE_LL, MouseHook, GetModuleHandleA(nullptr), 0);
    return mouseHook != nullptr;
}

bool Win32Platform::KeyHeld(int virtualKey) {
    if (virtualKey <= 0 || virtualKey > 255) return false;
    const SHORT state = GetAsyncKeyState(virtualKey);
    if (state & 0x0001) pressTold[virtualKey] = true;
    return (state & 0x8000) != 0;
}

bool Win32Platform::KeyPressed(int virtualKey) {
    if (virtualKey <= 0 || virtualKey > 255) return false;
    const bool pressed = (GetAsyncKeyState(virtualKey) & 0x0001) != 0 || pressTold[virtualKey];
    pressTold[virtualKey] = false;
    return pressed;
}

void Win32Platform::CursorPosition(int& x, int& y) {
    POINT point{0, 0};
    GetCursorPos(&point);
    x = point.x;
    y = point.y;
}

void Win32Platform::MoveCursor(int x, int y) {
    SetCursorPos(x, y);
}

}  // namespace platform
