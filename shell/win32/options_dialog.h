// The options dialog: three switches that take effect as they are clicked.
#pragma once

#include <windows.h>

#include "shell/installer_options.h"

namespace quarn {

/// Shows the options dialog over `owner` until "&Ok"; every click changes
/// `*options` at once.
void RunOptionsDialog(HWND owner, InstallerOptions* options);

}  // namespace quarn
