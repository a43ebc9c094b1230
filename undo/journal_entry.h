// What the journal keeps about one installed mod besides its changes: who
// installed it, when, how its run ended, and how it left every file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "undo/change_fact.h"

namespace quarn {

/// How the run of a journaled mod ended.
enum class EntryEnd {
  kUnfinished,  ///< still running, or it crashed or was killed
  kFinished,    ///< its script ran to the end
  kFailed,      ///< a command failed and ended the run
  kAborted,     ///< the user stopped the run
};

/// The word history shows for `end`, also its form in the entry file.
const char* EntryEndName(EntryEnd end);

/// A file or folder as a mod left it: enough to notice a later change.
struct Fingerprint {
  std::string path;  ///< absolute, engine form
  bool exists = false;
  bool folder = false;
  uint32_t attributes = 0;
  uint64_t size = 0;
  uint64_t hash = 0;  ///< of the whole file, or of samples of a large one

  bool operator==(const Fingerprint& other) const;
  bool operator!=(const Fingerprint& other) const { return !(*this == other); }
};

/// One installed mod's entry in a game's journal.
struct JournalEntry {
  int number = 0;             ///< its place in the journal, from 1 up
  int run = 0;                ///< the number of the first entry its run made
  std::string installer_dir;  ///< engine form, ending in a backslash
  std::string mod_folder;     ///< the catalogue folder; empty for one script
  std::string mod_name;       ///< the catalogue's display name
  std::string started;        ///< local time, "YYYY-MM-DD HH:MM:SS"
  EntryEnd end = EntryEnd::kUnfinished;
  /// Every path the mod changed, as it left them; empty while unfinished.
  std::vector<Fingerprint> fingerprints;
  /// What the mod changed, in the game's terms, once it ended.
  std::vector<ChangeFact> changes;
};

/// The entry file's text for `entry`.
std::string EntryToText(const JournalEntry& entry);

/// Reads an entry file's text; false if it is not one.
bool EntryFromText(const std::string& text, JournalEntry* entry);

/// How reports name the mod in catalogue folder `folder` with display name
/// `name`: "X1 (Kiosk area)", or the script file for a single script
/// (`folder` empty).
std::string ModLabel(const std::string& folder, const std::string& name);

/// How history and undo name the mod of `entry`: "X1 (Kiosk area)", or the
/// script file for a single script.
std::string EntryModLabel(const JournalEntry& entry);

}  // namespace quarn
