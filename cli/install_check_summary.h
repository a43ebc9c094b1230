// What `quarn install` says after the banner when the install left the game
// so that it would not start, or would drop or replace something.
#pragma once

#include <string>
#include <vector>

#include "changes/mod_change_set.h"
#include "platform/file_system.h"

namespace quarn {

/// Adds the files `set`'s mod created or changed (relative to its game),
/// and those it listed anew in gta_vc.dat, to `*files`.
void NoteChangedFiles(const ModChangeSet& set, std::vector<std::string>* files);

/// Checks the game in `game` after a real install and, when a problem lies
/// in one of the `changed` files (the install's doing, not the game's own),
/// gives the check's verdict, the rules broken there and the summary line;
/// empty otherwise. The check only reads, after the run has ended.
std::string InstallCheckSummary(FileSystem& fs, const std::string& game,
                                const std::vector<std::string>& changed);

}  // namespace quarn
