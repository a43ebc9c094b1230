// What a folder the user points at offers: the game itself ("&Ok") and the
// backup folders a restore copies from ("Use backup").
#pragma once

#include <string>

#include "platform/file_system.h"

namespace quarn {

/// The game's program file, the mark of a game folder.
inline constexpr char kGameProgramName[] = "gta-vc.exe";

/// True when `folder` (ending in a backslash) holds "gta-vc.exe" as an
/// ordinary file.
bool HoldsGame(FileSystem& fs, const std::string& folder);

/// True when `folder` (ending in a backslash) holds both "data\backup" and
/// "models\backup" as folders that are neither hidden nor system.
bool HoldsBackups(FileSystem& fs, const std::string& folder);

/// The buttons' state and the restore folder after the user selected
/// `folder` (ending in a backslash) in the directory list.
struct FolderChoice {
  bool ok_enabled;          ///< the folder holds the game
  bool use_backup_enabled;  ///< the folder holds both backup folders
  std::string restore_dir;  ///< `folder` when it holds the backups, else ""
};

/// The state a selection of `folder` gives.
FolderChoice ChooseFolder(FileSystem& fs, const std::string& folder);

/// The state the page opens with, on the path "saved.dat" `remembered`
/// (empty when none; then "&Ok" follows "gta-vc.exe" in the current
/// folder). With a catalogue, a remembered folder without both backup
/// folders leaves "Use backup" disabled.
FolderChoice OpeningChoice(FileSystem& fs, const std::string& remembered,
                           bool catalogue_present);

}  // namespace quarn
