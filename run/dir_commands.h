// DIR CREATE and DIR SELECT: folders inside the game, and the mod folder
// archive entries are taken from.
#pragma once

#include "editing/command.h"
#include "run/install_context.h"

namespace quarn {

/// DIR CREATE <folder>: creates one folder level below GamePath unless it
/// exists; fails the run if it is still missing afterwards.
CommandResult RunDirCreate(InstallContext& ctx, const Command& command);

/// DIR SELECT <folder>: makes ModPath + folder the SourceDir; a missing
/// folder fails the run.
CommandResult RunDirSelect(InstallContext& ctx, const Command& command);

}  // namespace quarn
