// Which files "Use backup" copies back over the game's working files, from
// where to where, in which order.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace quarn {

/// What a planned copy restores; the archive and its directory go as a pair.
enum class RestoreItem {
  kArchive,    ///< models\gta3.img
  kDirectory,  ///< models\gta3.dir, only if the archive was restored
  kDataFile,   ///< a file of data\backup, data\backup\maps or \paths
};

/// One planned copy.
struct RestoreCopy {
  RestoreItem item;
  std::string source;  ///< in a backup folder
  std::string target;  ///< the game's working file
};

/// The copies a restore of `restore_dir` (ending in a backslash) makes: the
/// archive, its directory, then every ordinary file of "data\backup\",
/// "data\backup\maps\" and "data\backup\paths\" in the order the platform
/// lists them, each to the same name one level up. Subfolders, hidden and
/// system files are left out.
std::vector<RestoreCopy> PlanRestore(FileSystem& fs,
                                     const std::string& restore_dir);

}  // namespace quarn
