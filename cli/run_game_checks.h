// The check that ends a dry run's report: each game the mods installed
// into, as the run would leave it, and which mod first broke each rule.
#pragma once

#include <string>
#include <vector>

#include "changes/mod_change_set.h"
#include "cli/change_report.h"
#include "platform/file_system.h"
#include "platform/overlay_file_system.h"

namespace quarn {

/// The check of the game in `game` as `view` (the overlay, or a look
/// through it) shows it, ending with the archive entries of which the game
/// loads another copy than below `overlay` (as after an IMG DELDUP).
CheckFindings CheckAsTheRunLeavesIt(OverlayFileSystem& overlay,
                                    FileSystem& view, const std::string& game);

/// Checks each game of `mods` (once, in the order the mods first name it)
/// as `overlay` shows it after the run, against the same game in
/// `original`, below the overlay, as it was before: the rules with more
/// problems now are the run's, each blamed on the first mod after which
/// `checks` (one per mod) had more of them than before, or else on the first
/// mod that changed a file where it is broken.
std::vector<GameCheckChanges> CheckRunGames(
    FileSystem& original, OverlayFileSystem& overlay,
    const std::vector<ModChangeSet>& mods,
    const std::vector<CheckFindings>& checks);

}  // namespace quarn
