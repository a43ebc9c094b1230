// Where mods undo each other's work: a later mod changes what an earlier one
// changed, and only the later change stands.
#pragma once

#include <string>
#include <vector>

#include "changes/mod_change_set.h"
#include "undo/journal_entry.h"

namespace quarn {

/// One thing two mods changed.
struct Collision {
  ChangeFact earlier;       ///< the earlier mod's change of it
  std::string earlier_mod;  ///< its label
  /// The earlier mod was installed before the run: when, and its journal
  /// entry. Empty and 0 for a mod of the run.
  std::string installed;
  int journal_entry = 0;
  ChangeFact later;       ///< the run's mod's change of it
  std::string later_mod;  ///< its label
  std::string winner;     ///< the last mod of the run that changes it
};

/// The collisions among the run's mods, in run order: each change of a
/// thing that an earlier mod of the run changed. Files whose entries are
/// compared (the archive, list, definition, placement and collision files)
/// and folders do not collide as a whole.
std::vector<Collision> RunCollisions(const std::vector<ModChangeSet>& sets);

/// The collisions of the run's mods with the mods `installed` in the game
/// (its journal's entries, oldest first): the first change of each thing in
/// the run that an installed mod changed, against the newest such mod.
/// Only sets whose game folder is `game` count.
std::vector<Collision> InstalledCollisions(
    const std::vector<ModChangeSet>& sets, const std::string& game,
    const std::vector<JournalEntry>& installed);

/// The report's line for `collision`, without indent or line end: "X2
/// replaces archive entry car.dff in models\gta3.img, which X1 replaced; X2
/// wins".
std::string CollisionLine(const Collision& collision);

}  // namespace quarn
