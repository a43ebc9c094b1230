#include "shell/win32/installer_app.h"

namespace quarn {

// Called on the worker's thread: a post never waits for the window.
void InstallerApp::WakeWindow(void* app) {
  PostMessageA(static_cast<InstallerApp*>(app)->main_window, kLogPending, 0, 0);
}

}  // namespace quarn
