#include "testutil/undo_all.h"

#include <vector>

#include "undo/journal_folder.h"
#include "undo/journal_undo.h"

namespace quarn {

std::string UndoWholeJournal(FileSystem& fs, const std::string& game) {
  const std::vector<JournalEntry> entries = ListJournalEntries(fs, game);
  std::vector<UndonePath> undone;
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    std::string problem;
    if (!UndoEntry(fs, game, *entry, &undone, &problem)) return problem;
  }
  if (!ListJournalEntries(fs, game).empty()) return "entries are left";
  return std::string();
}

}  // namespace quarn
