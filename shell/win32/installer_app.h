// The window program's one state object: what start-up finds, what the
// pages choose, and what the main window and the worker share.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "changes/change_tracker.h"
#include "editing/install_log.h"
#include "platform/file_system.h"
#include "run/install_context.h"
#include "shell/installer_options.h"
#include "shell/log_queue.h"
#include "shell/setup_ini.h"
#include "undo/journaling_file_system.h"

namespace quarn {

/// The single-instance key: the main window's class and title.
inline constexpr char kMainClassName[] = "QuarnSINS";
inline constexpr char kMainTitle[] = "Quarn Installer v1.1";

/// Messages the main window posts to itself.
enum MainWindowMessage : UINT {
  kStartWorker = WM_USER + 1,     ///< first parameter's low word 1: start
  kLogPending = WM_APP + 20,      ///< the worker queued log text
  kWorkerReturned = WM_APP + 21,  ///< the run is over, files closed
};

/// Everything the window program holds for one start.
struct InstallerApp {
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  std::string installer_dir;
  SetupSettings setup;
  InstallerOptions options;
  HWND main_window = nullptr;
  HWND log_view = nullptr;
  HWND close_button = nullptr;
  LogQueue log_queue{&WakeWindow, this};
  std::unique_ptr<InstallLog> log;
  /// The run's file system: every change it makes can be undone.
  std::unique_ptr<JournalingFileSystem> journal;
  /// Over the journal: what each mod changes, for its journal entry.
  std::unique_ptr<ChangeTracker> tracker;
  std::unique_ptr<InstallContext> run;  ///< exists once the log file does
  HANDLE worker = nullptr;
  bool log_timer_running = false;  ///< queued log text is due to be shown
  bool quitting = false;           ///< "Quit ?" was answered Yes during the run

 private:
  static void WakeWindow(void* app);
};

}  // namespace quarn
