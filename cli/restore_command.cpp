#include "cli/restore_command.h"

#include "cli/quarn_cli.h"
#include "cli/run_lock.h"
#include "cli/stream_messages.h"
#include "cli/terminal_progress.h"
#include "shell/game_folder.h"
#include "shell/restore.h"
#include "text/ascii.h"

namespace quarn {

int RestoreGame(const CommandLine& line, FileSystem& fs, FILE* out, FILE* err) {
  const std::string game =
      WithTrailingBackslash(fs.AbsolutePath(line.game_dir));
  // As on the selection page: a folder is restorable when it holds both
  // backup folders.
  const std::string restore_dir = HoldsBackups(fs, game) ? game : "";
  std::unique_ptr<FolderLock> lock;
  if (!restore_dir.empty()) {
    lock = LockGameFolder(fs, restore_dir, err);
    if (!lock) return kExitFailed;
  }
  StreamMessages messages(out);
  PlainCopier plain(fs);
  TerminalProgress progress(IsTerminal(err) ? err : nullptr);
  ProgressCopier in_pieces(fs, progress);
  FileCopier& archive = line.fast ? static_cast<FileCopier&>(plain) : in_pieces;
  return RunRestore(fs, restore_dir, RestoreCopiers{archive, plain}, messages)
             ? kExitAllDone
             : kExitFailed;
}

}  // namespace quarn
