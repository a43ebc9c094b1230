#include "changes/mod_change_set.h"

#include <memory>
#include <utility>

#include "undo/journal_entry.h"

namespace quarn {

std::string ModSetLabel(const ModChangeSet& set) {
  return ModLabel(set.mod_folder, set.mod_name);
}

EntryEnd EntryEndOf(ModOutcome outcome) {
  switch (outcome) {
    case ModOutcome::kFinished:
      return EntryEnd::kFinished;
    case ModOutcome::kFailed:
      return EntryEnd::kFailed;
    case ModOutcome::kAborted:
      return EntryEnd::kAborted;
  }
  return EntryEnd::kFailed;
}

void FollowRunInTracker(RunContext& ctx, ChangeTracker& tracker,
                        std::function<void(const ModEntry*)> started,
                        std::function<void(ModChangeSet)> ended) {
  // The set under way, from the mod's start to its end.
  auto current = std::make_shared<ModChangeSet>();
  ctx.ModStarted = [&ctx, &tracker, started, current](const ModEntry* entry) {
    if (started) started(entry);
    *current = ModChangeSet();
    if (entry != nullptr) {
      current->mod_folder = entry->FolderName;
      current->mod_name = entry->DisplayName;
    }
    current->game = ctx.GamePath;
    tracker.BeginMod(ctx.GamePath);
  };
  ctx.ModEnded = [&tracker, ended, current](ModOutcome outcome) {
    current->outcome = outcome;
    current->facts = tracker.EndMod();
    ended(std::move(*current));
  };
  ctx.ArchiveEntryWritten = [&tracker](const std::string& name) {
    tracker.ArchiveEntryWritten(name);
  };
}

}  // namespace quarn
