// The one shared state of an installation run.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "col/open_col_file.h"
#include "gamelists/gta_vc_dat_list.h"
#include "gamelists/object_dat_list.h"
#include "ide/ide_editor.h"
#include "ide/object_id_registry.h"
#include "ide/scanned_ide_list.h"
#include "img/img_directory.h"
#include "ipl/ipl_editor.h"
#include "platform/file_system.h"
#include "script/install_log.h"

namespace quarn {

/// Where a run stands; decides the closing banner.
enum class RunState : uint8_t { Done = 0, Running = 1, Aborted = 2 };

/// One installable mod of the catalogue.
struct ModEntry {
  std::string FolderName;  ///< upper-case folder name, relative to InstallerDir
  std::string DisplayName;  ///< what the selection page shows
  int32_t Selection = 0;    ///< non-zero means install
};

/// The installable mods in ascending folder number.
struct ModCatalogue {
  std::vector<ModEntry> Entries;
  bool Present = false;  ///< set: catalogue layout; clear: single-mod layout
};

/// Capacities of the context's text fields; longer values are cut.
inline constexpr size_t kInstallerDirCapacity = 999;
inline constexpr size_t kChosenPathCapacity = 999;
inline constexpr size_t kGamePathCapacity = 259;
inline constexpr size_t kModPathCapacity = 999;
inline constexpr size_t kSourceDirCapacity = 259;
inline constexpr size_t kScriptLineCapacity = 899;

/// The marker ChosenPath holds when the scripts name the game folder.
inline constexpr char kScriptedPath[] = "<scripted>";

/// Everything one installation run reads and changes. Tests create as many
/// as they like; nothing of it is global.
struct InstallContext {
  /// A run over `fs` that reports to `log`.
  InstallContext(FileSystem& fs, InstallLog& log) : Fs(fs), Log(log) {}

  FileSystem& Fs;
  InstallLog& Log;

  // Filled by the window (or the headless runner) before the run.
  std::string InstallerDir;  ///< ends in a backslash
  quarn::ModCatalogue ModCatalogue;
  std::string ChosenPath;  ///< empty, "<scripted>", or ending in a backslash
  bool DumpObjectIds = false;
  std::function<void()> RequestWindowClose;  ///< may be empty

  // Set by the runner.
  std::string GamePath;   ///< ends in a backslash, or empty
  std::string ModPath;    ///< ends in a backslash
  std::string SourceDir;  ///< ends in a backslash
  quarn::RunState RunState = quarn::RunState::Done;
  bool CommandRecognised = false;
  std::string ScriptLine;
  bool WorkerFinished = false;

  // Model archive.
  ImgDirectory Img;

  // Game list editors.
  GtaVcDatList GtaVcDat;
  ObjectDatList ObjectDat;

  // Item definitions.
  ObjectIdRegistry ObjectIds;
  quarn::ScannedIdeList ScannedIdeList;  ///< IDE files read so far
  bool IdeScanDone = false;  ///< the game's IDE files were all scanned
  IdeEditor Ide;             ///< the IDE file being edited

  // Placements.
  IplEditor Ipl;  ///< the IPL file being edited or made

  // Collision file editor.
  OpenColFile Col;
};

}  // namespace quarn
