// Opens the program's window with the input capture on, then a message box; what reached
// the window while the box waited for its answer is pumped afterwards. Exits 0 when a close
// request sent to the window during the box was kept and seen, and the key that answered
// the box did not reach the program as well.
#include "quentaro.h"

int main() {
    if (!ConnectDisplay()) return 1;
    ResizeFrame(320, 240);
    AppState.pixelScale = 1;
    if (!OpenMainWindow()) return 2;
    InstallInputHooks();
    platform::Sys().ShowMessage("Waiting for an answer.", "PROBE",
                                platform::MessageIcon::Information);
    while (PumpMessages()) {
    }
    if (KeyState[27] == 1 || KeyState[13] == 1) return 4;
    return AppState.quitRequested == 1 ? 0 : 3;
}
