#include "run/journaled_run.h"

#include "changes/mod_change_set.h"

namespace quarn {

void FollowRunInJournal(InstallContext& ctx, JournalingFileSystem& journal,
                        ChangeTracker& tracker,
                        std::function<void(const ModChangeSet&)> ended) {
  journal.FollowGameFolder([&ctx] { return ctx.GamePath; });
  FollowRunInTracker(
      ctx, tracker,
      [&ctx, &journal](const ModEntry* entry) {
        JournaledMod mod;
        mod.installer_dir = ctx.InstallerDir;
        if (entry != nullptr) {
          mod.mod_folder = entry->FolderName;
          mod.mod_name = entry->DisplayName;
        }
        journal.BeginMod(mod);
      },
      [&journal, ended](ModChangeSet set) {
        if (ended) ended(set);
        journal.EndMod(EntryEndOf(set.outcome), set.game, std::move(set.facts));
      });
}

}  // namespace quarn
