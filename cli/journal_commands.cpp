#include "cli/journal_commands.h"

#include <memory>
#include <string>
#include <vector>

#include "cli/quarn_cli.h"
#include "cli/run_lock.h"
#include "cli/user_paths.h"
#include "text/ascii.h"
#include "undo/journal_folder.h"
#include "undo/journal_undo.h"
#include "undo/run_undo.h"

namespace quarn {
namespace {

// The game folder of `line`, which must exist; engine form with a trailing
// backslash.
bool FindGame(const CommandLine& line, FileSystem& fs, std::string* game,
              FILE* err) {
  *game = WithTrailingBackslash(fs.AbsolutePath(line.game_dir));
  const uint32_t attributes = fs.AttributesOf(*game);
  if (attributes != kNoSuchFile && (attributes & kAttrDirectory) != 0) {
    return true;
  }
  UsageError(err, "no such folder: " + line.game_dir);
  return false;
}

std::string SizeText(uint64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + " B";
  const char* units[] = {"KiB", "MiB", "GiB"};
  double value = static_cast<double>(bytes) / 1024;
  size_t unit = 0;
  while (value >= 1024 && unit + 1 < 3) {
    value /= 1024;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
  return text;
}

void PrintUndone(const std::vector<UndonePath>& undone, size_t* restored,
                 size_t* removed, FILE* out) {
  for (const UndonePath& path : undone) {
    fprintf(out, "%s %s\n", path.removed ? "Removed: " : "Restored:",
            PathSpelling(path.path).c_str());
    ++*(path.removed ? removed : restored);
  }
}

bool RefuseChangedFiles(FileSystem& fs, const std::string& game,
                        const std::vector<JournalEntry>& chosen, FILE* err) {
  const std::vector<std::string> changed =
      ChangedSinceInstall(fs, game, chosen);
  if (changed.empty()) return false;
  fprintf(err,
          "quarn: these files changed after the install, so nothing was "
          "undone (--force puts them back anyway):\n");
  for (const std::string& path : changed) {
    fprintf(err, "  %s\n", PathSpelling(path).c_str());
  }
  return true;
}

}  // namespace

int UndoInstall(const CommandLine& line, FileSystem& fs, FILE* out, FILE* err) {
  std::string game;
  if (!FindGame(line, fs, &game, err)) return kExitUsage;
  std::unique_ptr<FolderLock> lock = LockGameFolder(fs, game, err);
  if (!lock) return kExitFailed;
  const std::vector<JournalEntry> all = ListJournalEntries(fs, game);
  if (all.empty()) {
    fprintf(out, "Nothing to undo in %s.\n", PathSpelling(game).c_str());
    return kExitAllDone;
  }
  if (line.undo_mods > static_cast<int>(all.size())) {
    fprintf(err,
            "quarn: the journal of %s holds %zu mods, not %d; nothing "
            "was undone\n",
            PathSpelling(game).c_str(), all.size(), line.undo_mods);
    return kExitFailed;
  }
  const std::vector<JournalEntry> chosen = EntriesToUndo(all, line.undo_mods);
  if (!line.force && RefuseChangedFiles(fs, game, chosen, err)) {
    return kExitFailed;
  }
  const RunUndoOutcome outcome = UndoEntries(fs, game, chosen, nullptr);
  size_t restored = 0, removed = 0;
  PrintUndone(outcome.undone, &restored, &removed, out);
  if (outcome.entries_undone < chosen.size()) {
    fprintf(err,
            "quarn: %s; %s is not undone yet: run the same undo again "
            "once that is put right\n",
            outcome.problem.c_str(), outcome.failed_label.c_str());
    return kExitFailed;
  }
  const size_t mods = outcome.entries_undone;
  fprintf(out, "Undone: %zu %s; restored %zu, removed %zu.\n", mods,
          mods == 1 ? "mod" : "mods", restored, removed);
  return kExitAllDone;
}

// What an installed mod changed, as the dry run reports it per mod.
void PrintChanges(const JournalEntry& entry, FILE* out) {
  for (const ChangeFact& fact : entry.changes) {
    fprintf(out, "    %s\n", FactLine(fact).c_str());
  }
  if (entry.changes.empty()) fprintf(out, "    no change recorded\n");
}

int ShowHistory(const CommandLine& line, FileSystem& fs, FILE* out, FILE* err) {
  std::string game;
  if (!FindGame(line, fs, &game, err)) return kExitUsage;
  if (line.forget) {
    std::unique_ptr<FolderLock> lock = LockGameFolder(fs, game, err);
    if (!lock) return kExitFailed;
    const std::vector<JournalEntry> all = ListJournalEntries(fs, game);
    for (const JournalEntry& entry : all) {
      if (!RemoveJournalEntry(fs, game, entry.number)) {
        fprintf(err, "quarn: can't remove %s\n",
                PathSpelling(EntryFolderOf(game, entry.number)).c_str());
        return kExitFailed;
      }
    }
    fprintf(out, "Forgot %zu installed %s; the game stays as it is.\n",
            all.size(), all.size() == 1 ? "mod" : "mods");
    return kExitAllDone;
  }
  const std::vector<JournalEntry> all = ListJournalEntries(fs, game);
  if (all.empty()) {
    fprintf(out, "No installs to undo in %s.\n", PathSpelling(game).c_str());
  }
  for (auto it = all.rbegin(); it != all.rend(); ++it) {
    fprintf(out, "%s  %-10s  %s from %s  (journal %s)\n", it->started.c_str(),
            EntryEndName(it->end), EntryModLabel(*it).c_str(),
            PathSpelling(it->installer_dir).c_str(),
            SizeText(JournalEntryBytes(fs, game, it->number)).c_str());
    if (line.show_changes) PrintChanges(*it, out);
  }
  return kExitAllDone;
}

}  // namespace quarn
