// What every command of a run sees, whichever game file it edits: the file
// system, the log, the folders and the current line.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "editing/install_log.h"
#include "editing/mod_catalogue.h"
#include "platform/file_system.h"

namespace quarn {

/// Where a run stands; decides the closing banner.
enum class RunState : uint8_t { Done = 0, Running = 1, Aborted = 2 };

/// How one mod's script ended, for whoever follows the run mod by mod.
enum class ModOutcome : uint8_t { kFinished, kFailed, kAborted };

/// Capacities of the context's text fields; longer values are cut.
inline constexpr size_t kInstallerDirCapacity = 999;
inline constexpr size_t kChosenPathCapacity = 999;
inline constexpr size_t kGamePathCapacity = 259;
inline constexpr size_t kModPathCapacity = 999;
inline constexpr size_t kSourceDirCapacity = 259;
inline constexpr size_t kScriptLineCapacity = 899;

/// The marker ChosenPath holds when the scripts name the game folder.
inline constexpr char kScriptedPath[] = "<scripted>";

/// The run's state that is not an editor's: what the window (or the
/// headless runner) hands the run, and what the runner sets as it goes.
/// The editors' commands get it together with their own editor's state.
struct RunContext {
  /// A run over `fs` that reports to `log`.
  RunContext(FileSystem& fs, InstallLog& log) : Fs(fs), Log(log) {}

  FileSystem& Fs;
  InstallLog& Log;

  // Filled by the window (or the headless runner) before the run.
  std::string InstallerDir;  ///< ends in a backslash
  quarn::ModCatalogue ModCatalogue;
  std::string ChosenPath;  ///< empty, "<scripted>", or ending in a backslash
  bool DumpObjectIds = false;
  std::function<void()> RequestWindowClose;  ///< may be empty
  /// Told as each mod's script starts, once the game folder is known (with
  /// its catalogue entry; null for the single script), and as it ends. Both
  /// may be empty.
  std::function<void(const ModEntry*)> ModStarted;
  std::function<void(ModOutcome)> ModEnded;
  /// Told when a rebuild has written the archive's entry `name` from a
  /// mod's file. May be empty.
  std::function<void(const std::string& name)> ArchiveEntryWritten;
  /// Set from another thread to end the run as aborted between two commands.
  std::atomic<bool> StopRequested{false};

  // Set by the runner.
  std::string GamePath;   ///< ends in a backslash, or empty
  std::string ModPath;    ///< ends in a backslash
  std::string SourceDir;  ///< ends in a backslash
  quarn::RunState RunState = quarn::RunState::Done;
  bool CommandRecognised = false;  ///< set by the dispatcher on a match
  std::string ScriptLine;
  std::atomic<bool> WorkerFinished{false};  ///< read by the window thread
};

}  // namespace quarn
