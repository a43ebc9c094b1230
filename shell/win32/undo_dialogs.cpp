#include "shell/win32/undo_dialogs.h"

#include <cctype>
#include <memory>
#include <vector>

#include "cli/run_lock.h"
#include "shell/shell_messages.h"
#include "shell/win32/progress_dialog.h"
#include "text/ascii.h"
#include "undo/journal_folder.h"
#include "undo/run_undo.h"

namespace quarn {
namespace {

// A box names at most this many paths; a whole archive's worth would not
// fit on the screen.
constexpr size_t kPathsShown = 12;

std::string FolderShown(const std::string& game) {
  return game.size() > 3 ? game.substr(0, game.size() - 1) : game;
}

// Inside the game, paths are named as the game's files.
std::string PathShown(const std::string& path, const std::string& game) {
  if (path.size() > game.size() && StartsWithIgnoringCase(path, game)) {
    return path.substr(game.size());
  }
  return path;
}

std::string PathLines(const std::vector<std::string>& paths,
                      const std::string& game) {
  std::string lines;
  for (size_t i = 0; i < paths.size() && i < kPathsShown; ++i) {
    lines += "\r\n    " + PathShown(paths[i], game);
  }
  if (paths.size() > kPathsShown) {
    lines +=
        "\r\n    and " + std::to_string(paths.size() - kPathsShown) + " more";
  }
  return lines;
}

bool Ask(HWND owner, const std::string& text) {
  return MessageBoxA(owner, text.c_str(), kShellCaption,
                     MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void Tell(HWND owner, const std::string& text) {
  MessageBoxA(owner, text.c_str(), kShellCaption, MB_OK);
}

std::string UndoQuestion(const std::vector<JournalEntry>& chosen,
                         const std::string& game) {
  return "Undo the install of " + ModsOfEntries(chosen) + " of " +
         chosen.back().started + "?\r\n\r\nGame folder: " + FolderShown(game);
}

// False when files changed since the install and the player would rather
// keep them.
bool AcceptChangedFiles(HWND owner, FileSystem& fs, const std::string& game,
                        const std::vector<JournalEntry>& chosen) {
  const std::vector<std::string> changed =
      ChangedSinceInstall(fs, game, chosen);
  if (changed.empty()) return true;
  return Ask(owner,
             "These files changed after the install, so nothing was undone:" +
                 PathLines(changed, game) +
                 "\r\n\r\nPut them back as they were before the install "
                 "anyway?");
}

// One step of the bar per mod; "&Cancel" takes effect between two mods.
RunUndoOutcome UndoWithProgress(HWND owner, FileSystem& fs,
                                const std::string& game,
                                const std::vector<JournalEntry>& chosen) {
  ProgressDialog progress(owner, "Undoing:");
  progress.Begin("", "", static_cast<int32_t>(chosen.size()));
  bool first = true;
  RunUndoOutcome outcome = UndoEntries(fs, game, chosen, [&] {
    if (!first) progress.Step();
    first = false;
    return !progress.CancelRequested();
  });
  progress.End();
  return outcome;
}

std::string OutcomeText(const RunUndoOutcome& outcome, size_t wanted,
                        const std::string& game) {
  std::vector<std::string> restored, removed;
  for (const UndonePath& path : outcome.undone) {
    (path.removed ? removed : restored).push_back(path.path);
  }
  std::string text;
  if (outcome.entries_undone == wanted) {
    text = "Undone: " + std::to_string(wanted) +
           (wanted == 1 ? " mod." : " mods.");
  } else if (outcome.stopped) {
    text = "Undo stopped after " + std::to_string(outcome.entries_undone) +
           " of " + std::to_string(wanted) +
           " mods; \"Undo\" goes on from there.";
  } else {
    text = "Undo stopped: " + outcome.problem + "; " + outcome.failed_label +
           " is not undone yet: undo again once that is put right.";
  }
  if (!restored.empty()) text += "\r\nRestored:" + PathLines(restored, game);
  if (!removed.empty()) text += "\r\nRemoved:" + PathLines(removed, game);
  return text;
}

}  // namespace

std::string UnfinishedInstallQuestion(FileSystem& fs, const std::string& game) {
  JournalEntry unfinished;
  if (!FindUnfinishedEntry(fs, game, &unfinished)) return "";
  std::string text = UnfinishedInstallText(unfinished, FolderShown(game));
  text[0] = static_cast<char>(toupper(static_cast<unsigned char>(text[0])));
  return text +
         ".\r\nNo new install goes into this folder until it is "
         "undone.\r\n\r\nUndo it now?";
}

bool RunUndoDialogs(HWND owner, FileSystem& fs, const std::string& game,
                    const std::string& question) {
  FsStatus status = FsStatus::kOkay;
  std::unique_ptr<FolderLock> lock = fs.LockFolder(game, &status);
  if (!lock) {
    Tell(owner, status == FsStatus::kSharingViolation
                    ? AnotherRunText(FolderShown(game))
                    : "Can't lock the game in " + FolderShown(game) +
                          " against other runs.");
    return false;
  }
  const std::vector<JournalEntry> chosen =
      EntriesToUndo(ListJournalEntries(fs, game), 0);
  if (chosen.empty()) return false;
  if (!Ask(owner, question.empty() ? UndoQuestion(chosen, game) : question) ||
      !AcceptChangedFiles(owner, fs, game, chosen)) {
    return false;
  }
  const RunUndoOutcome outcome = UndoWithProgress(owner, fs, game, chosen);
  Tell(owner, OutcomeText(outcome, chosen.size(), game));
  return !outcome.undone.empty() || outcome.entries_undone > 0;
}

}  // namespace quarn
