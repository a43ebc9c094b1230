// A run that keeps an undo journal: the journal follows the run's game
// folder and makes an entry for each mod.
#pragma once

#include "run/install_context.h"
#include "undo/journaling_file_system.h"

namespace quarn {

/// Makes `journal`, which must be `ctx`'s file system or lie below it,
/// journal into the run's game folder as it changes and end an entry with
/// each mod.
void FollowRunInJournal(InstallContext& ctx, JournalingFileSystem& journal);

}  // namespace quarn
