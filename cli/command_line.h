// What the headless runner was asked to do, read from its arguments.
#pragma once

#include <string>
#include <vector>

namespace quarn {

/// The runner's requests, as typed (paths not yet made absolute).
struct CommandLine {
  enum class Action {
    kInstall,
    kList,
    kRestore,
    kUndo,
    kHistory,
    kCheck,
    kHelp,
    kVersion
  };
  Action action = Action::kInstall;
  std::string installer_dir;      ///< --dir, empty for the current folder
  std::string game_dir;           ///< --game, empty when not given
  bool scripted = false;          ///< --scripted
  bool dump_ids = false;          ///< --dump-ids
  bool mods_given = false;        ///< --mods was given
  std::vector<std::string> mods;  ///< the folder names --mods lists
  bool save = false;              ///< --save
  bool fast = false;              ///< --fast
  bool dry_run = false;           ///< --dry-run
  bool no_undo = false;           ///< --no-undo
  bool report_json = false;       ///< --report json
  std::string report_file;        ///< --report-file, as typed
  bool report_given = false;      ///< --report or --report-file was given
  int undo_mods = 0;              ///< undo --mods N; 0: the newest run's
  bool force = false;             ///< undo --force
  bool forget = false;            ///< history --forget
  bool show_changes = false;      ///< history --changes
  std::string limits_file;        ///< check --limits, as typed
};

/// Reads `args` (without the program name) into `*line`. On bad usage
/// returns false and says why in `*error`, in one line.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* line,
                      std::string* error);

/// The text `quarn --help` prints.
std::string UsageText();

}  // namespace quarn
