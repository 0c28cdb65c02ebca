// The key bindings of the media menu (to be written).
#include "shell/app_state.h"
#include "shell/input_hooks.h"
#include "shell/overlay.h"

void ApplyFirstKeys() {}
void ApplySecondKeys() {
    if (KeyState[27]) AppState.quitRequested = 1;
}
void NextPage() {}
void PreviousPage() {}
void ChangeResolution(int) {}
