#include "undo/run_undo.h"

namespace quarn {

std::vector<JournalEntry> EntriesToUndo(const std::vector<JournalEntry>& all,
                                        int count) {
  std::vector<JournalEntry> chosen;
  for (auto it = all.rbegin(); it != all.rend(); ++it) {
    const bool wanted = count > 0 ? static_cast<int>(chosen.size()) < count
                                  : it->run == all.back().run;
    if (!wanted) break;
    chosen.push_back(*it);
  }
  return chosen;
}

RunUndoOutcome UndoEntries(FileSystem& fs, const std::string& game,
                           const std::vector<JournalEntry>& newest_first,
                           const std::function<bool()>& go_on) {
  RunUndoOutcome outcome;
  for (const JournalEntry& entry : newest_first) {
    if (go_on && !go_on()) {
      outcome.stopped = true;
      return outcome;
    }
    if (!UndoEntry(fs, game, entry, &outcome.undone, &outcome.problem)) {
      outcome.failed_label = EntryModLabel(entry);
      return outcome;
    }
    ++outcome.entries_undone;
  }
  return outcome;
}

std::string ModsOfEntries(const std::vector<JournalEntry>& newest_first) {
  std::string mods;
  for (auto it = newest_first.rbegin(); it != newest_first.rend(); ++it) {
    if (!mods.empty()) mods += ", ";
    mods += EntryModLabel(*it);
  }
  return mods;
}

}  // namespace quarn
