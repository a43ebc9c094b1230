// DIR CREATE and DIR SELECT: folders inside the game, and the mod folder
// archive entries are taken from.
#pragma once

#include "editing/command.h"
#include "run/install_context.h"

namespace quarn {

/// DIR CREATE <folder>: creates one folder level below GamePath unless it
/// exists; fails the run if it is still missing afterwards.
RunCommand RunDirCreate;

/// DIR SELECT <folder>: makes ModPath + folder the SourceDir; a missing
/// folder fails the run.
RunCommand RunDirSelect;

}  // namespace quarn
