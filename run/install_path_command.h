// INSTALL PATH: the game folder, named by the script when the user left it
// to the scripts.
#pragma once

#include "editing/command.h"
#include "run/install_context.h"

namespace quarn {

/// INSTALL PATH <folder>: sets GamePath unless the user already chose the
/// game folder (then only says so); a missing folder fails the run.
RunCommand RunInstallPath;

}  // namespace quarn
