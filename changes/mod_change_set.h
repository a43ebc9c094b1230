// What one mod of a run changed, and who follows the run to learn it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "changes/change_tracker.h"
#include "editing/run_context.h"
#include "undo/change_fact.h"
#include "undo/journal_entry.h"

namespace quarn {

/// One mod's changes, as the run made them.
struct ModChangeSet {
  std::string mod_folder;  ///< the catalogue folder; empty for one script
  std::string mod_name;    ///< the catalogue's display name
  std::string game;        ///< the game folder its paths are relative to
  ModOutcome outcome = ModOutcome::kFinished;
  std::vector<ChangeFact> facts;
};

/// How reports name the mod of `set`: "X1 (Kiosk area)", or the script
/// file for a single script.
std::string ModSetLabel(const ModChangeSet& set);

/// The journal's word for how a mod ended as `outcome`.
EntryEnd EntryEndOf(ModOutcome outcome);

/// Makes `tracker`, which must be `ctx`'s file system or lie below it,
/// follow the run mod by mod: `started` (may be empty) hears of each mod as
/// it starts, `ended` gets each mod's change set as it ends.
void FollowRunInTracker(RunContext& ctx, ChangeTracker& tracker,
                        std::function<void(const ModEntry*)> started,
                        std::function<void(ModChangeSet)> ended);

}  // namespace quarn
