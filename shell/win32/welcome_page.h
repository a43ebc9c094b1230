// The welcome page: the picture and the welcome text of "Setup.ini".
#pragma once

#include <windows.h>

#include "shell/setup_ini.h"

namespace quarn {

/// Shows the welcome page with `picture`; true for "&Next >>", false for
/// "&Quit" or the close box.
bool RunWelcomePage(const SetupSettings& setup, HBITMAP picture);

}  // namespace quarn
