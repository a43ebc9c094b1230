// A whole installation run for tests: a temporary installer folder, a game
// folder inside it, a script, the log captured in memory.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "editing/install_log.h"
#include "platform/file_system.h"
#include "run/install_context.h"
#include "testutil/test_files.h"

namespace quarn {

/// A log window that keeps what it was shown, in memory.
class MemoryLogWindow : public LogWindow {
 public:
  void Append(const std::string& text) override {
    shown += text;
    if (on_append) on_append(text);
  }
  void Clear() override {
    shown.clear();
    ++clears;
  }

  std::string shown;  ///< the text since the last Clear
  int clears = 0;
  std::function<void(const std::string&)> on_append;  ///< may be empty
};

/// An installer folder (`installer()`) holding a game folder (`game()`,
/// "game\" inside it, with "gta-vc.exe"), ready to run scripts.
class ScriptRun {
 public:
  /// Uses the platform's real file system unless `fs` is given.
  explicit ScriptRun(FileSystem* fs = nullptr);

  /// The installer folder, ending in a backslash.
  const std::string& installer() const { return folder_.path(); }
  /// The game folder, ending in a backslash.
  std::string game() const { return folder_.path() + "game\\"; }

  /// Writes the single-mod script "QuarnInstall.txt" into the installer
  /// folder (lines joined with CR LF, each line ended).
  void WriteScript(const std::string& lines);

  /// Runs the installation with the game folder chosen (unless a different
  /// ChosenPath was set on `context()` first) and returns the log file.
  std::string Run();

  /// The context of the run, to adjust before Run() or inspect after.
  InstallContext& context() { return *context_; }
  /// The file system the run uses.
  FileSystem& fs() { return *fs_; }
  /// What the log window showed at the end.
  const MemoryLogWindow& window() const { return window_; }
  /// The log window, to hook into before Run().
  MemoryLogWindow& window() { return window_; }
  /// The log file's content.
  std::string LogFile() const;

 private:
  TempFolder folder_;
  std::unique_ptr<FileSystem> own_fs_;
  FileSystem* fs_;
  MemoryLogWindow window_;
  std::unique_ptr<InstallLog> log_;
  std::unique_ptr<InstallContext> context_;
};

}  // namespace quarn
