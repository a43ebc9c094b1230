// quarn install --dry-run: the whole run, with every change kept away from
// the disk, and a report of what the run would have changed.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "changes/change_tracker.h"
#include "changes/mod_change_set.h"
#include "cli/change_report.h"
#include "cli/unseen_look.h"
#include "gamecheck/check_findings.h"
#include "platform/file_system.h"
#include "platform/overlay_file_system.h"
#include "run/install_context.h"

namespace quarn {

/// How the report of a dry run is written.
struct DryRunReport {
  bool json = false;  ///< JSON instead of text
  std::string file;   ///< the path as typed; empty: standard error
};

/// The mods' change sets as a dry run ends them, each with the check of
/// its game as that mod left it.
class DryRunMods {
 public:
  /// Checks the games through `overlay`.
  explicit DryRunMods(OverlayFileSystem& overlay) : overlay_(overlay) {}
  /// Has `tracker` hand over each mod's change set of the run of `ctx` as
  /// the mod ends, and checks its game then.
  void Follow(InstallContext& ctx, ChangeTracker& tracker);
  /// The change sets, in install order.
  std::vector<ModChangeSet>& sets() { return sets_; }
  /// The check after each set's mod (nothing found for a mod without a
  /// game), archive entries loaded from another copy included.
  const std::vector<CheckFindings>& checks() const { return checks_; }

 private:
  // Takes the set of the mod that just ended and checks its game, reading
  // the `held` files through the run's own handles.
  void Ended(ModChangeSet set, std::vector<HeldFile> held);

  OverlayFileSystem& overlay_;
  std::vector<ModChangeSet> sets_;
  std::vector<CheckFindings> checks_;
};

/// What a dry run runs: the installation over the overlay given, handing
/// each mod's change set to `mods`. Returns the exit status.
using DryInstall = std::function<int(OverlayFileSystem&, DryRunMods* mods)>;

/// Runs `install` over an overlay of `fs`, so that nothing it does reaches
/// the disk, and gathers the report of what the real run would change.
ChangeReport GatherDryRun(FileSystem& fs, const DryInstall& install);

/// Runs `install` over an overlay of `fs`, so that nothing it does reaches
/// the disk, and then, unless it was refused as bad usage, writes the
/// report of what the real run would change (files, folders, archive
/// entries, each mod's changes and where mods collide) as `form` says, to
/// `err` or to its file. Returns what `install` returned; 1 instead of 0
/// when the report file cannot be written.
int RunDry(FileSystem& fs, const DryRunReport& form, FILE* err,
           const DryInstall& install);

}  // namespace quarn
