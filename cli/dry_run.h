// quarn install --dry-run: the whole run, with every change kept away from
// the disk, and a report of what the run would have changed.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "changes/mod_change_set.h"
#include "cli/change_report.h"
#include "platform/file_system.h"
#include "platform/overlay_file_system.h"

namespace quarn {

/// How the report of a dry run is written.
struct DryRunReport {
  bool json = false;  ///< JSON instead of text
  std::string file;   ///< the path as typed; empty: standard error
};

/// What a dry run runs: the installation over the overlay given, adding
/// each mod's change set to the list given. Returns the exit status.
using DryInstall =
    std::function<int(OverlayFileSystem&, std::vector<ModChangeSet>* mods)>;

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
