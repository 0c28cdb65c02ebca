// System-wide input capture of the Linux backend (to be written): key-downs and
// right presses of every client, and the live key state.
#include "platform/x11/x11_platform.h"

namespace platform {

bool TakeCapturedEvent(Event&) { return false; }
void StopInputCapture() {}
bool X11Platform::InstallKeyboardCapture() { return false; }
bool X11Platform::InstallMouseCapture() { return false; }
bool X11Platform::KeyHeld(int) { return false; }

}  // namespace platform
