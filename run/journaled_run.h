// A run that keeps an undo journal: the journal follows the run's game
// folder and makes an entry for each mod, with what the mod changed.
#pragma once

#include <functional>

#include "changes/change_tracker.h"
#include "changes/mod_change_set.h"
#include "run/install_context.h"
#include "undo/journaling_file_system.h"

namespace quarn {

/// Makes `journal` journal into the run's game folder as it changes and end
/// an entry with each mod, recording the change set `tracker` found. The
/// tracker must be `ctx`'s file system or lie below it, and the journal
/// below the tracker. `ended`, when given, sees each change set first.
void FollowRunInJournal(
    InstallContext& ctx, JournalingFileSystem& journal, ChangeTracker& tracker,
    std::function<void(const ModChangeSet&)> ended = nullptr);

}  // namespace quarn
