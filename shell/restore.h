// "Use backup": the game's saved files copied back from the backup folders,
// with a message for every copy that fails and a closing list of the
// files copied.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "shell/file_copy.h"
#include "shell/installer_options.h"
#include "shell/shell_messages.h"

namespace quarn {

/// The copiers a restore uses: `archive` for models\gta3.img (the caller
/// picks plain or progress by FastCopyFromBackup), `plain` for the rest.
struct RestoreCopiers {
  FileCopier& archive;
  FileCopier& plain;
};

/// Restores `restore_dir` (ending in a backslash; empty when no folder with
/// both backup folders is chosen) as PlanRestore plans it. Shows "Please
/// locate your GTA install first." for an empty folder; "Can't copy " +
/// source + CR LF + "to " + target for every copy that fails (and for the
/// directory when the archive was not restored, which is then not
/// replaced); "Access denined" when the archive's attributes would not
/// clear; finally "Copied: " + the names copied, separated by ", ".
/// True when every planned copy succeeded.
bool RunRestore(FileSystem& fs, const std::string& restore_dir,
                RestoreCopiers copiers, MessageSink& messages);

}  // namespace quarn
