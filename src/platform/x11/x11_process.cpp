// Other programs and their windows on Linux (to be written): starting a program
// without a shell, opening a folder in the file manager, finding and moving a
// top-level window by its title.
#include "platform/x11/x11_platform.h"

namespace platform {

bool X11Platform::StartProgram(const char*, const char*) { return false; }
bool X11Platform::OpenFolderInFileManager(const char*) { return false; }
WindowHandle X11Platform::FindWindowByTitle(const char*) { return 0; }
bool X11Platform::MoveWindow(WindowHandle, int, int, int, int) { return false; }

}  // namespace platform
