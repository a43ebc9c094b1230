#include "run/journaled_run.h"

namespace quarn {
namespace {

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

}  // namespace

void FollowRunInJournal(InstallContext& ctx, JournalingFileSystem& journal) {
  journal.FollowGameFolder([&ctx] { return ctx.GamePath; });
  ctx.ModStarted = [&ctx, &journal](const ModEntry* entry) {
    JournaledMod mod;
    mod.installer_dir = ctx.InstallerDir;
    if (entry != nullptr) {
      mod.mod_folder = entry->FolderName;
      mod.mod_name = entry->DisplayName;
    }
    journal.BeginMod(mod);
  };
  ctx.ModEnded = [&journal](ModOutcome outcome) {
    journal.EndMod(EntryEndOf(outcome));
  };
}

}  // namespace quarn
