// The window program's "Preview": the dry run of the ticked mods into the
// selected game folder, with the report `quarn install --dry-run` prints.
#pragma once

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "changes/mod_change_set.h"
#include "cli/dry_run.h"
#include "editing/mod_catalogue.h"
#include "platform/file_system.h"
#include "run/install_context.h"

namespace quarn {

/// What a preview runs.
struct PreviewRequest {
  std::string installer_dir;  ///< ends in a backslash
  ModCatalogue catalogue;     ///< with the ticks the page shows
  std::string game;           ///< the selected folder, ending in a backslash
  bool dump_object_ids = false;
};

/// One preview, which another thread may stop.
class PreviewRun {
 public:
  explicit PreviewRun(PreviewRequest request) : request_(std::move(request)) {}

  /// Runs the install over an overlay of `fs` with no log file, so that
  /// nothing reaches the disk, and gives the dry run's text report followed,
  /// when the real run would fail, by the failing mod, command and message.
  /// Empty when Stop ended it first.
  std::string Run(FileSystem& fs);

  /// Ends Run between two commands, as "Quit ?" ends a real run.
  void Stop();

 private:
  int InstallOver(OverlayFileSystem& overlay, DryRunMods* mods);
  void Attach(InstallContext* ctx);

  PreviewRequest request_;
  std::mutex mutex_;
  InstallContext* running_ = nullptr;
  bool stop_ = false;
  std::string failed_command_;
  std::string failure_lines_;
};

}  // namespace quarn
