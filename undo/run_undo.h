// Undoing a game's newest installs, as `quarn undo` and the window
// program's "Undo" both do it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "undo/journal_entry.h"
#include "undo/journal_undo.h"

namespace quarn {

/// The entries of `all` (oldest first) that an undo takes, newest first:
/// those of the newest run when `count` is 0, else the newest `count`.
std::vector<JournalEntry> EntriesToUndo(const std::vector<JournalEntry>& all,
                                        int count);

/// What an undo of several entries did.
struct RunUndoOutcome {
  std::vector<UndonePath> undone;  ///< every path put back, in order
  size_t entries_undone = 0;       ///< whole entries, from the newest
  bool stopped = false;            ///< `go_on` said no before an entry
  std::string problem;       ///< why the entry after the last whole one failed
  std::string failed_label;  ///< that entry's mod, as EntryModLabel says
};

/// Undoes `newest_first` of the journal of `game` one entry after another,
/// asking `go_on` (may be empty) before each; stops at the first entry that
/// cannot be put back whole, which a later undo goes on with.
RunUndoOutcome UndoEntries(FileSystem& fs, const std::string& game,
                           const std::vector<JournalEntry>& newest_first,
                           const std::function<bool()>& go_on);

/// "X1 (First mod), X2 (Second mod)": the mods of `entries` in install
/// order (`entries` newest first).
std::string ModsOfEntries(const std::vector<JournalEntry>& newest_first);

}  // namespace quarn
