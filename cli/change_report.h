// What a dry run found, gathered once and then written as text or as JSON.
#pragma once

#include <string>
#include <vector>

#include "changes/collisions.h"
#include "changes/mod_change_set.h"
#include "gamecheck/check_findings.h"
#include "img/img_archive_diff.h"
#include "platform/overlay_file_system.h"

namespace quarn {

/// One game's model archive as the run would leave it.
struct ArchiveChanges {
  std::string game;       ///< the game folder, ending in a backslash
  bool compared = false;  ///< false: a file was missing, nothing is known
  ImgArchiveDiff entries;
};

/// A rule the check of a game finds broken, and who broke it first.
struct BrokenRule {
  std::string rule;         ///< the rule's name, as the problems give it
  bool before_run = false;  ///< the game broke it before the run already
  /// The label of the first mod that changed a file where it is broken;
  /// empty when no mod did (a table filled elsewhere).
  std::string mod;
};

/// The check of a game the run's mods installed into, as the run would
/// leave it.
struct GameCheckChanges {
  std::string game;                ///< ending in a backslash
  CheckFindings findings;          ///< the game as the run would leave it
  std::vector<BrokenRule> broken;  ///< in the order of their first problem
};

/// Everything a dry run's report says.
struct ChangeReport {
  int exit_status = 0;  ///< what the real run would exit with
  std::vector<OverlayChange> changes;
  std::vector<ArchiveChanges> archives;
  /// The overlay's temporary file failed, so later writes failed here only.
  bool spill_failed = false;
  std::vector<ModChangeSet> mods;     ///< in install order
  std::vector<Collision> collisions;  ///< among the run's mods
  /// With the mods installed before, from the games' journals.
  std::vector<Collision> installed_collisions;
  /// The paths whose check (is the file locked or held, does the folder
  /// take a new name) this platform cannot make without a change anyone
  /// could see: a real run may still fail there.
  std::vector<std::string> unprobed;
  /// The check of each game the mods installed into, in the mods' order.
  std::vector<GameCheckChanges> checks;
};

/// The letters of the read-only, hidden and system bits set in
/// `attributes` ("RHS" order); empty when none is.
std::string AttributeLetters(uint32_t attributes);

/// Gathers the report of the changes `overlay` holds, after a run that
/// exited with `exit_status` and whose mods made `mods`; the mods installed
/// before are read from the journals of their games.
ChangeReport GatherChangeReport(OverlayFileSystem& overlay, int exit_status,
                                std::vector<ModChangeSet> mods);

/// The word for how a mod's script ended: "finished", "failed", "aborted".
const char* ModOutcomeName(ModOutcome outcome);

/// The report as text, as `quarn install --dry-run` prints it.
std::string ChangeReportText(const ChangeReport& report);

/// The report as one JSON document (ending in a line end).
std::string ChangeReportJson(const ChangeReport& report);

}  // namespace quarn
