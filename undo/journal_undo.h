// Putting a game back from its journal: each entry's changes newest first,
// resumable when undo itself is stopped half-way.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "undo/journal_entry.h"

namespace quarn {

/// A path undo put back.
struct UndonePath {
  std::string path;      ///< absolute, engine form
  bool removed = false;  ///< it names nothing now: the mod had made it
};

/// The paths the entries' mods changed that have changed again since,
/// judged by the fingerprints (`newest_first` lists the entries to be
/// undone, newest first). A path first changed by an unfinished entry has
/// no fingerprint and is not judged.
std::vector<std::string> ChangedSinceInstall(
    FileSystem& fs, const std::string& game,
    const std::vector<JournalEntry>& newest_first);

/// Puts back every change of `entry` of the journal of `game` (engine form,
/// ending in a backslash), newest first, then removes the entry. Adds the
/// paths it put back to `*undone` (each once, in the order first reached).
/// False, with `*problem` saying why, if something could not be put back;
/// what was put back stays so, and a later call goes on from there.
bool UndoEntry(FileSystem& fs, const std::string& game,
               const JournalEntry& entry, std::vector<UndonePath>* undone,
               std::string* problem);

}  // namespace quarn
