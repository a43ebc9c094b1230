// The main window: hidden while the pages run, then the log view of the
// install with its "Close" button.
#pragma once

#include <windows.h>

#include "browser/win32/picker_controls.h"
#include "shell/win32/installer_app.h"

/// The main window's procedure; the window is created with its
/// InstallerApp as the creation parameter.
QUARN_EXPORT LRESULT CALLBACK MAINWNDPROC(HWND window, UINT message,
                                          WPARAM wparam, LPARAM lparam);

namespace quarn {

/// Registers the main window's class.
bool RegisterMainWindowClass(HINSTANCE instance);

}  // namespace quarn
