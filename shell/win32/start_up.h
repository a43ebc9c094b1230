// What happens inside the main window's creation: the log file, the
// catalogue, "Setup.ini", "saved.dat" and the pages, before the window is
// ever shown.
#pragma once

#include "shell/win32/installer_app.h"

namespace quarn {

/// Runs the interactive phase for `app` (whose main window is `window`).
/// True when an installation was chosen and the run is ready to start;
/// false when the program is to end.
bool RunStartUp(InstallerApp& app, HWND window);

}  // namespace quarn
