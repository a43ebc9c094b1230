// The one message sink of an installation run: every line goes, byte for
// byte, to the log window and to the log file.
#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace quarn {

/// Where the log shows on screen: the edit control in the window program,
/// standard output in the headless runner, memory in tests.
class LogWindow {
 public:
  virtual ~LogWindow() = default;
  /// Appends `text` after everything shown so far.
  virtual void Append(const std::string& text) = 0;
  /// Empties what is shown.
  virtual void Clear() = 0;
};

/// The name of the log file in the installer's folder.
inline constexpr char kLogFileName[] = "QuarnInstall-log.txt";

/// The install log: `LogLine` and `LogText` write to the window and the file.
class InstallLog {
 public:
  /// A log that writes to `window` and to `file` (either may be null).
  InstallLog(LogWindow* window, std::unique_ptr<File> file);

  /// Creates (or empties) `installer_dir` + "QuarnInstall-log.txt"; returns
  /// null if it cannot be created.
  static std::unique_ptr<InstallLog> Create(FileSystem& fs,
                                            const std::string& installer_dir,
                                            LogWindow* window);

  /// Writes `text` and CR LF, keeping at most the first 1,899 characters of
  /// the two together.
  void LogLine(const std::string& text);

  /// Writes `text` with no line end; the next LogLine completes the line.
  void LogText(const std::string& text);

  /// Empties the window; the file keeps everything.
  void ClearWindow();

  /// Closes the log file; later text reaches only the window.
  void CloseFile();

 private:
  void Write(const std::string& text);

  LogWindow* window_;
  std::unique_ptr<File> file_;
  uint64_t file_position_ = 0;
};

}  // namespace quarn
