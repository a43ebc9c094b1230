#include "cli/quarn_cli.h"

#include <memory>
#include <utility>
#include <vector>

#include "changes/change_tracker.h"
#include "changes/mod_change_set.h"
#include "cli/check_command.h"
#include "cli/command_line.h"
#include "cli/dry_run.h"
#include "cli/failure_reason.h"
#include "cli/install_check_summary.h"
#include "cli/journal_commands.h"
#include "cli/list_command.h"
#include "cli/restore_command.h"
#include "cli/run_lock.h"
#include "cli/stream_log_window.h"
#include "cli/stream_messages.h"
#include "cli/user_paths.h"
#include "editing/install_log.h"
#include "quarn_version.h"
#include "run/install_context.h"
#include "run/journaled_run.h"
#include "run/runner.h"
#include "shell/game_folder.h"
#include "shell/mod_catalogue_build.h"
#include "shell/saved_selection.h"
#include "text/ascii.h"
#include "undo/local_time.h"

namespace quarn {
namespace {

const char kVersionText[] = "quarn (Quarn Installer) " QUARN_VERSION "\n";

// The game folder must hold the game's program, as the window's "&Ok"
// requires. A longer path than the run can hold would silently name
// another folder, so it is refused.
bool CheckGameFolder(FileSystem& fs, const std::string& folder,
                     const std::string& shown, std::string* problem) {
  if (folder.size() > kGamePathCapacity) {
    *problem = "the game folder's path is longer than " +
               std::to_string(kGamePathCapacity) + " characters: " + shown;
    return false;
  }
  if (!HoldsGame(fs, folder)) {
    *problem = "not a game folder (no gta-vc.exe): " + shown;
    return false;
  }
  return true;
}

// ChosenPath from --game or --scripted, else from what "saved.dat"
// remembers.
bool ChooseGameFolder(FileSystem& fs, const CommandLine& line,
                      const std::string& remembered, std::string* chosen,
                      std::string* problem) {
  if (line.scripted) {
    *chosen = kScriptedPath;
    return true;
  }
  if (!line.game_dir.empty()) {
    *chosen = WithTrailingBackslash(fs.AbsolutePath(line.game_dir));
    return CheckGameFolder(fs, *chosen, line.game_dir, problem);
  }
  if (remembered.empty()) {
    *problem =
        "say where the game is: --game DIR, or --scripted (saved.dat "
        "remembers no game folder)";
    return false;
  }
  if (remembered == kScriptedPath) {
    *chosen = kScriptedPath;
    return true;
  }
  *chosen = WithTrailingBackslash(remembered);
  return CheckGameFolder(fs, *chosen, UserSpelling(remembered), problem);
}

// --mods ticks exactly the folders it names.
bool ApplyModList(const CommandLine& line, ModCatalogue* catalogue,
                  std::string* problem) {
  if (!line.mods_given) return true;
  if (!catalogue->Present) {
    *problem =
        "--mods needs mod folders (X1, X2, ... with a QuarnInstall.txt) in "
        "the installer folder";
    return false;
  }
  for (ModEntry& entry : catalogue->Entries) entry.Selection = 0;
  for (const std::string& name : line.mods) {
    bool found = false;
    for (ModEntry& entry : catalogue->Entries) {
      if (!EqualsIgnoringCase(entry.FolderName, name)) continue;
      entry.Selection = 1;
      found = true;
    }
    if (!found) {
      *problem = "no mod folder '" + name + "' in the catalogue";
      return false;
    }
  }
  return true;
}

// Writes "saved.dat" as the window program does when its page is
// confirmed: only for a catalogue.
void Save(FileSystem& fs, const CommandLine& line, const std::string& dir,
          const std::string& chosen, const InstallerOptions& options,
          const ModCatalogue& catalogue, FILE* err) {
  const std::string shown = TypedPathIn(line.installer_dir, kSavedFileName);
  if (!catalogue.Present) {
    fprintf(err, "quarn: no mod folders, so %s is not written\n",
            shown.c_str());
  } else if (!SaveSelection(fs, dir + kSavedFileName, chosen, options,
                            catalogue)) {
    fprintf(err, "quarn: Can't write %s\n", shown.c_str());
  }
}

// The dispatcher forgets the file errors before each command, so what is
// left after a failed run belongs to the command that failed. A game the
// scripts named, blocked by an install that did not finish, gets the same
// message as a game named on the command line.
void PrintFailureReason(FileSystem& fs, const std::string& game_folder,
                        FILE* err) {
  const FsError error = fs.LastError();
  if (error.reason == kReasonUnfinished &&
      RefuseUnfinishedInstall(fs, error.path, err)) {
    return;
  }
  const std::string line = FailureReasonLine(error, game_folder);
  if (!line.empty()) fprintf(err, "%s\n", line.c_str());
}

// The game's run lock, and the journal unless the run keeps none; false
// after a line on `err` when the game may not be changed now. A scripted
// game is named too late: the journal takes its lock at its first change.
bool ReadyGame(FileSystem& fs, const std::string& chosen,
               JournalingFileSystem* journal, std::unique_ptr<FolderLock>* lock,
               FILE* err) {
  if (chosen == kScriptedPath) return true;
  if (journal != nullptr) return OpenJournaledGame(*journal, chosen, err);
  *lock = LockGameFolder(fs, chosen, err);
  return *lock && !RefuseUnfinishedInstall(fs, chosen, err);
}

// The installation. A real run keeps an undo journal when `journaled`;
// over a dry run's overlay (`dry`) the room that journal would take is
// counted instead, and each mod's change set goes to `mods`.
int Install(const CommandLine& line, FileSystem& fs, bool journaled,
            OverlayFileSystem* dry, DryRunMods* mods, FILE* out, FILE* err) {
  std::string dir, chosen, problem;
  if (!ResolveInstallerDir(fs, line.installer_dir, &dir, &problem)) {
    return UsageError(err, problem);
  }
  StreamMessages scan_messages(err);
  ModCatalogue catalogue = LoadModCatalogue(fs, dir, scan_messages);
  const SavedSelection saved =
      LoadSavedSelection(fs, dir + kSavedFileName, &catalogue);
  if (!ChooseGameFolder(fs, line, saved.remembered_path, &chosen, &problem) ||
      !ApplyModList(line, &catalogue, &problem)) {
    return UsageError(err, problem);
  }
  // Before the first byte is written.
  std::unique_ptr<FolderLock> lock;
  std::unique_ptr<JournalingFileSystem> journal;
  if (journaled)
    journal = std::make_unique<JournalingFileSystem>(fs, LocalTimeNow);
  if (!ReadyGame(fs, chosen, journal.get(), &lock, err)) return kExitFailed;
  InstallerOptions options = saved.options;
  if (line.dump_ids) options.DumpObjectIds = 1;
  if (line.save) Save(fs, line, dir, chosen, options, catalogue, err);

  // The window program runs with its own folder as the current one; relative
  // paths in scripts mean the same here.
  fs.ChangeFolder(dir);
  StreamLogWindow window(out);
  std::unique_ptr<InstallLog> log = InstallLog::Create(fs, dir, &window);
  if (!log) {
    fprintf(err, "quarn: Can't create log file\n");
    return kExitFailed;
  }
  ChangeTracker tracker(journal ? static_cast<FileSystem&>(*journal) : fs);
  InstallContext ctx(tracker, *log);
  std::vector<std::string> changed;
  if (journal) {
    FollowRunInJournal(ctx, *journal, tracker,
                       [&changed](const ModChangeSet& set) {
                         NoteChangedFiles(set, &changed);
                       });
  } else if (mods != nullptr) {
    mods->Follow(ctx, tracker);
  }
  if (dry != nullptr && !line.no_undo) {
    dry->CountJournalOf([&ctx] { return ctx.GamePath; });
  }
  ctx.InstallerDir = dir;
  ctx.ModCatalogue = catalogue;
  ctx.ChosenPath = chosen;
  ctx.DumpObjectIds = options.DumpObjectIds != 0;
  RunInstallation(ctx);
  if (journal && !journal->Finish()) {
    fprintf(err, "quarn: the undo journal's last entry could not be written\n");
  }
  const int status = ExitStatusOf(ctx.RunState);
  if (status == kExitFailed) PrintFailureReason(fs, ctx.GamePath, err);
  if (journal && !ctx.GamePath.empty()) {
    fputs(InstallCheckSummary(fs, ctx.GamePath, changed).c_str(), err);
  }
  return status;
}

}  // namespace

int ExitStatusOf(RunState state) {
  switch (state) {
    case RunState::Done:
      return kExitAllDone;
    case RunState::Aborted:
      return kExitAborted;
    case RunState::Running:
      break;
  }
  return kExitFailed;
}

int UsageError(FILE* err, const std::string& problem) {
  fprintf(err, "quarn: %s\nTry 'quarn --help'.\n", problem.c_str());
  return kExitUsage;
}

int RunQuarn(const std::vector<std::string>& args, FileSystem& fs, FILE* out,
             FILE* err) {
  CommandLine line;
  std::string problem;
  if (!ParseCommandLine(args, &line, &problem)) return UsageError(err, problem);
  switch (line.action) {
    case CommandLine::Action::kHelp:
      fputs(UsageText().c_str(), out);
      return kExitAllDone;
    case CommandLine::Action::kVersion:
      fputs(kVersionText, out);
      return kExitAllDone;
    case CommandLine::Action::kList:
      return ListMods(line, fs, out, err);
    case CommandLine::Action::kRestore:
      return RestoreGame(line, fs, out, err);
    case CommandLine::Action::kUndo:
      return UndoInstall(line, fs, out, err);
    case CommandLine::Action::kHistory:
      return ShowHistory(line, fs, out, err);
    case CommandLine::Action::kCheck:
      return CheckGameFolder(line, fs, out, err);
    case CommandLine::Action::kInstall:
      break;
  }
  if (line.dry_run) {
    return RunDry(fs, DryRunReport{line.report_json, line.report_file}, err,
                  [&](OverlayFileSystem& overlay, DryRunMods* mods) {
                    return Install(line, overlay, false, &overlay, mods, out,
                                   err);
                  });
  }
  return Install(line, fs, !line.no_undo, nullptr, nullptr, out, err);
}

}  // namespace quarn
